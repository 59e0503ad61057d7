#include "web/WebHost.h"

#include <emscripten.h>

#include <cmath>
#include <ctime>
#include <utility>

#include "platform/FileDoor.h"

// The page's hooks, looked up on the module each time: the page may set them after it starts.
EM_JS(double, PageClockNow, (),
      { return Module.tavroNow ? Module.tavroNow() : performance.now(); });

// The bytes are copied out before the handler runs: it may call into the module, which may grow
// its memory.
EM_JS(bool, PageDebugText, (const char* text, size_t size), {
  if (!Module.tavroDebugText) return false;
  Module.tavroDebugText(HEAPU8.slice(text, text + size));
  return true;
});

namespace tavro {

namespace {
// Larger sound files are left unplayed rather than copied into the page.
constexpr uint64_t kMaxSoundBytes = 16 * 1024 * 1024;
}  // namespace

std::vector<std::string> WebHost::TakeSounds() { return std::exchange(Sounds_, {}); }
std::vector<std::string> WebHost::TakeDebugTexts() { return std::exchange(DebugTexts_, {}); }

void WebHost::PlaySound(const std::string& path) {
  const WholeFile file = ReadWholeFile(path, kMaxSoundBytes);
  if (file.Failure != WholeFileFailure::None || file.Bytes.empty()) return;
  // A new sound replaces one not yet handed to the page.
  Sounds_.assign(1, std::string(file.Bytes.begin(), file.Bytes.end()));
}

uint32_t WebHost::TickCount() {
  return static_cast<uint32_t>(static_cast<uint64_t>(std::floor(PageClockNow())));
}

void WebHost::ShowDebugText(const std::string& text) {
  if (!PageDebugText(text.data(), text.size())) DebugTexts_.push_back(text);
}

uint32_t WebHost::ClockSeconds() { return static_cast<uint32_t>(std::time(nullptr)); }

std::string WebHost::ProfileString(const std::string&, const std::string&) {
  // No settings file: archives unpack under the in-memory /tmp.
  return {};
}

}  // namespace tavro
