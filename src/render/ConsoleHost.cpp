#include "render/ConsoleHost.h"

#include <strings.h>

#include <chrono>
#include <cstdio>
#include <ctime>

namespace tavro::render {

void ConsoleHost::Say(const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), stderr);
  std::fputc('\n', stderr);
  std::fflush(stderr);
}

uint32_t ConsoleHost::TickCount() {
  const auto since = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<uint32_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
}

uint32_t ConsoleHost::ClockSeconds() { return static_cast<uint32_t>(std::time(nullptr)); }

bool ConsoleHost::ChooseConfigFile(const std::vector<std::string>& names, std::string& chosen) {
  if (configName_.empty()) {
    if (names.empty()) return false;
    chosen = names.front();
    return true;
  }
  // Names inside archives come from systems that ignore letter case.
  for (const std::string& name : names) {
    if (strcasecmp(name.c_str(), configName_.c_str()) == 0) {
      chosen = name;
      return true;
    }
  }
  Say("no configuration file \"" + configName_ + "\" in the archive");
  return false;
}

}  // namespace tavro::render
