// Shared by the file-reader harnesses: the readers take a file name, so each input is written
// to one file in a private temporary directory that is removed when the fuzzer exits.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

namespace tavro::fuzz {

class ScratchDirectory {
 public:
  ScratchDirectory() {
    path_ = (std::filesystem::temp_directory_path() / "tavro-fuzz-XXXXXX").string();
    if (::mkdtemp(path_.data()) == nullptr) std::abort();
    path_ += "/";
  }
  ~ScratchDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

inline const std::string& FuzzDirectory() {
  static const ScratchDirectory dir;
  return dir.path();
}

inline void WriteInput(const std::string& name, const uint8_t* data, size_t size) {
  std::ofstream file(FuzzDirectory() + name, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

}  // namespace tavro::fuzz
