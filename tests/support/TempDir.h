// A fresh temporary directory for one test, removed with everything in it afterwards.
#pragma once

#include <filesystem>
#include <string>

namespace tavro::test {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  std::string Str() const { return path_.string(); }

 private:
  std::filesystem::path path_;
};

}  // namespace tavro::test
