#include "FuzzFiles.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include "support/SetFiles.h"

namespace tavro::fuzz {
namespace {

namespace fs = std::filesystem;
using test::Bgra;
using test::Bytes;
using test::Rgb;

// A memory-backed directory when there is one: saving syncs its file to the disk, which on a
// real disk costs milliseconds per input and would slow a harness a hundredfold.
fs::path ScratchBase() {
  std::error_code error;
  if (::access("/dev/shm", W_OK | X_OK) == 0 && fs::is_directory("/dev/shm", error)) {
    return "/dev/shm";
  }
  return fs::temp_directory_path();
}

std::string MakeScratch() {
  std::string pattern = (ScratchBase() / "tavro-fuzz-XXXXXX").string();
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  if (::mkdtemp(name.data()) == nullptr) Fail("cannot make a scratch directory");
  return std::string(name.data()) + "/";
}

// Only the process that made the directory removes it: forked children of the fuzzing engine
// share the static but must not delete it under their parent.
pid_t scratchOwner = 0;

void RemoveScratch() {
  if (::getpid() != scratchOwner) return;
  std::error_code ignored;
  fs::remove_all(ScratchDirectory(), ignored);
}

std::vector<uint8_t> Ramp(size_t count, int modulo) {
  std::vector<uint8_t> values(count);
  for (size_t i = 0; i < count; ++i) values[i] = static_cast<uint8_t>(i % modulo);
  return values;
}

void WriteFixedSet(const test::SetFiles& files) {
  files.OldPalette("pal.kcf");
  std::vector<std::vector<Rgb>> wide(10, std::vector<Rgb>(256));
  for (int g = 0; g < 10; ++g) {
    for (int i = 0; i < 256; ++i) {
      wide[g][i] = {static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i),
                    static_cast<uint8_t>(g * 20)};
    }
  }
  files.Write("wide.kcf", test::EncodeNewPalette(24, 256, wide));
  files.Write("a.cel", test::EncodeOldCel(5, 4, Ramp(20, 16)));
  files.Write("b.cel", test::EncodeIndexedCel(8, 6, 3, 2, 1, Ramp(18, 256)));
  std::vector<Bgra> px(12);
  for (size_t i = 0; i < px.size(); ++i) {
    px[i] = {static_cast<uint8_t>(i * 20), 40, 200, static_cast<uint8_t>(i * 21)};
  }
  files.Write("c.cel", test::EncodeTrueCel(4, 3, 1, 1, px));
  files.Write("d.cel", test::EncodeIndexedCel(4, 3, 3, 0, 2, Ramp(9, 16)));
  files.Write("e.cel", test::EncodeTrueCel(3, 4, 0, 0, px, true));
}

}  // namespace

const std::string& ScratchDirectory() {
  // Never destroyed: the exit handler that removes the directory still needs its name.
  static const std::string* const kDirectory = [] {
    auto* made = new std::string(MakeScratch());
    scratchOwner = ::getpid();
    std::atexit(RemoveScratch);
    return made;
  }();
  return *kDirectory;
}

const std::string& FixedSetDirectory() {
  static const std::string kDirectory = [] {
    const std::string made = ScratchDirectory() + "set/";
    fs::create_directories(made);
    WriteFixedSet(test::SetFiles(made));
    return made;
  }();
  return kDirectory;
}

bool WriteWholeFile(const std::string& path, const uint8_t* data, size_t size) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  return static_cast<bool>(out);
}

bool WriteWholeFile(const std::string& path, const std::string& text) {
  return WriteWholeFile(path, reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

void Fail(const std::string& what) {
  std::fprintf(stderr, "broken promise: %s\n", what.c_str());
  std::fflush(stderr);
  std::abort();
}

}  // namespace tavro::fuzz
