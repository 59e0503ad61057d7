// The archive libraries ask for a few bytes at a time; the file must still be read in blocks, so
// that a large archive costs reads in proportion to its blocks, not to the libraries' requests.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "archives/ArchiveExtract.h"
#include "platform/FileDoor.h"
#include "support/TempDir.h"

namespace tavro {
namespace {

namespace fs = std::filesystem;

bool Have(const char* tool) {
  return std::system((std::string("command -v ") + tool + " >/dev/null 2>&1").c_str()) == 0;
}

// Bytes that no archiver can shrink much, so the archive is about as large as its members.
std::string Noise(size_t size, uint32_t seed) {
  std::string bytes(size, '\0');
  for (char& byte : bytes) {
    seed = seed * 1664525u + 1013904223u;
    byte = static_cast<char>(seed >> 24);
  }
  return bytes;
}

struct Extraction {
  uint64_t Reads = 0;
  uint64_t ArchiveBytes = 0;
  uint32_t Written = 0;
};

// Packs `members` files of `size` bytes into `name` with `pack` (run in the files' folder, "%s"
// for the archive's path) and counts the door's reads while unpacking it.
Extraction Extract(const fs::path& work, int members, size_t size, const std::string& name,
                   const std::string& pack) {
  const fs::path files = work / "files";
  const fs::path out = work / "out";
  fs::create_directories(files);
  fs::create_directories(out);
  for (int i = 0; i < members; ++i) {
    std::ofstream(files / ("cel" + std::to_string(i) + ".cel"), std::ios::binary)
        << Noise(size, static_cast<uint32_t>(i + 1));
  }
  const fs::path archive = work / name;
  std::string command = "cd '" + files.string() + "' && " + pack + " >/dev/null 2>&1";
  command.replace(command.find("%s"), 2, "'" + archive.string() + "'");
  EXPECT_EQ(std::system(command.c_str()), 0) << command;
  Extraction result;
  result.ArchiveBytes = fs::file_size(archive);
  const uint64_t before = FileReadCalls();
  const ExtractResult extracted = ExtractArchiveFlat(archive.string(), out.string());
  result.Reads = FileReadCalls() - before;
  EXPECT_EQ(extracted.Status, ExtractStatus::Ok) << extracted.Detail;
  result.Written = extracted.Written;
  return result;
}

// At most a few reads a member, and one a block of 16 KiB besides.
void ExpectReadsInBlocks(const Extraction& small, const Extraction& large, int members) {
  EXPECT_EQ(small.Written, static_cast<uint32_t>(members));
  EXPECT_EQ(large.Written, static_cast<uint32_t>(members));
  EXPECT_LE(small.Reads, 4u + 4u * members + small.ArchiveBytes / 16384) << small.ArchiveBytes;
  EXPECT_LE(large.Reads, 4u + 4u * members + large.ArchiveBytes / 16384) << large.ArchiveBytes;
}

TEST(ExtractReads, AnLzhArchiveIsReadInBlocks) {
  if (!Have("jlha")) GTEST_SKIP() << "jlha (Debian package jlha-utils) is not installed";
  test::TempDir small, large;
  const std::string pack = "jlha a %s *.cel";
  ExpectReadsInBlocks(Extract(small.Path(), 6, 1000, "set.lzh", pack),
                      Extract(large.Path(), 6, 300 * 1000, "set.lzh", pack), 6);
}

TEST(ExtractReads, AZipArchiveIsReadInBlocks) {
  if (!Have("zip")) GTEST_SKIP() << "zip is not installed";
  test::TempDir small, large;
  const std::string pack = "zip -q %s *.cel";
  ExpectReadsInBlocks(Extract(small.Path(), 6, 1000, "set.zip", pack),
                      Extract(large.Path(), 6, 300 * 1000, "set.zip", pack), 6);
}

}  // namespace
}  // namespace tavro
