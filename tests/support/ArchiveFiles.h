// Files and LZH archives for the archive tests: whole-file reads and writes, and archives packed
// with Debian's LHA archiver (jlha), which the tests skip without.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace tavro::test {

inline std::string Read(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

inline void Write(const std::filesystem::path& path, const std::string& text) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

inline bool HaveArchiver() { return std::system("command -v jlha >/dev/null 2>&1") == 0; }

// Makes `archive` in `dir` from files (relative to `dir`).
inline void MakeLzh(const std::filesystem::path& dir, const std::string& archive,
                    const std::string& members) {
  const std::string command =
      "cd '" + dir.string() + "' && jlha a '" + archive + "' " + members + " >/dev/null 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

}  // namespace tavro::test
