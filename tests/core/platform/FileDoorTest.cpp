#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "platform/Directory.h"
#include "platform/FileDoor.h"
#include "platform/NameBytes.h"
#include "support/TempDir.h"

namespace tavro {
namespace {

namespace fs = std::filesystem;

void Write(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

TEST(FileDoor, AWholeFileIsReadOnlyWhenItIsAPlainFileWithinTheLimit) {
  test::TempDir dir;
  Write(dir.Path() / "set.cnf", std::string("a\0b\r\n", 5));
  fs::create_directory(dir.Path() / "folder");
  ASSERT_EQ(::mkfifo((dir.Path() / "pipe").c_str(), 0600), 0);  // would block if opened

  const WholeFile read = ReadWholeFile((dir.Path() / "set.cnf").string(), 5);
  EXPECT_EQ(read.Failure, WholeFileFailure::None);
  EXPECT_EQ(std::string(read.Bytes.begin(), read.Bytes.end()), std::string("a\0b\r\n", 5));
  EXPECT_EQ(ReadWholeFile((dir.Path() / "set.cnf").string(), 4).Failure,
            WholeFileFailure::TooLarge);
  const WholeFile missing = ReadWholeFile((dir.Path() / "missing").string(), 100);
  EXPECT_EQ(missing.Failure, WholeFileFailure::CannotOpen);
  EXPECT_EQ(missing.Error, ENOENT);
  EXPECT_EQ(ReadWholeFile((dir.Path() / "folder").string(), 100).Failure,
            WholeFileFailure::NotAFile);
  EXPECT_EQ(ReadWholeFile((dir.Path() / "pipe").string(), 100).Failure, WholeFileFailure::NotAFile);
}

TEST(FileDoor, AReadOnlyFileRefusesPipesAndReadsNoFurtherThanTheEnd) {
  test::TempDir dir;
  Write(dir.Path() / "cel", "0123456789");
  ASSERT_EQ(::mkfifo((dir.Path() / "pipe").c_str(), 0600), 0);

  ReadOnlyFile pipe;
  EXPECT_FALSE(pipe.Open((dir.Path() / "pipe").string()));
  EXPECT_EQ(pipe.Error(), 0) << "there, but not a plain file";
  ReadOnlyFile missing;
  EXPECT_FALSE(missing.Open((dir.Path() / "none").string()));
  EXPECT_EQ(missing.Error(), ENOENT);

  ReadOnlyFile file;
  ASSERT_TRUE(file.Open((dir.Path() / "cel").string()));
  EXPECT_EQ(file.Size(), 10u);
  char buffer[8] = {};
  EXPECT_EQ(file.ReadAt(6, buffer, sizeof buffer), 4u);
  EXPECT_EQ(std::string(buffer, 4), "6789");
  EXPECT_EQ(file.ReadAt(10, buffer, sizeof buffer), 0u);
  EXPECT_EQ(file.ReadAt(99, buffer, sizeof buffer), 0u);
}

TEST(FileDoor, TheWalkerListsEachEntryOnceAndStopsWhenAsked) {
  test::TempDir dir;
  Write(dir.Path() / "plain", "x");
  fs::create_directory(dir.Path() / "folder");
  fs::create_symlink(dir.Path() / "plain", dir.Path() / "link");

  std::multiset<std::string> names;
  std::set<std::string> plain;
  EXPECT_TRUE(ForEachEntry(dir.Str(), [&](const DirectoryEntry& entry) {
    names.emplace(entry.Name());
    if (entry.IsPlainFile()) plain.emplace(entry.Name());
    return true;
  }));
  EXPECT_EQ(names, (std::multiset<std::string>{"folder", "link", "plain"}));
  EXPECT_EQ(plain, (std::set<std::string>{"plain"})) << "a link to a file is no plain file";

  int visited = 0;
  EXPECT_TRUE(ForEachEntry(dir.Str(), [&](const DirectoryEntry&) { return ++visited < 2; }));
  EXPECT_EQ(visited, 2);
  EXPECT_FALSE(
      ForEachEntry((dir.Path() / "none").string(), [](const DirectoryEntry&) { return true; }));
}

TEST(FileDoor, AnOpenDirectoryNeverGoesThroughALink) {
  test::TempDir dir;
  fs::create_directory(dir.Path() / "real");
  Write(dir.Path() / "outside", "keep");
  fs::create_directory_symlink(dir.Path() / "real", dir.Path() / "linked");
  fs::create_symlink(dir.Path() / "outside", dir.Path() / "real" / "member");

  OpenDirectory linked;
  EXPECT_FALSE(linked.Open((dir.Path() / "linked").string(), false));
  EXPECT_TRUE(linked.Open((dir.Path() / "linked").string(), true));

  OpenDirectory real;
  ASSERT_TRUE(real.Open((dir.Path() / "real").string(), false));
  EXPECT_LT(real.CreateFile("member"), 0) << "a link left inside is not written through";
  std::ifstream kept(dir.Path() / "outside");
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "keep");
  const int fd = real.CreateFile("new");
  ASSERT_GE(fd, 0);
  EXPECT_TRUE(WriteAll(fd, "data", 4));
  EXPECT_TRUE(CloseFile(fd));
  EXPECT_EQ(fs::file_size(dir.Path() / "real" / "new"), 4u);
  EXPECT_TRUE(real.RemoveFile("new"));
  EXPECT_FALSE(fs::exists(dir.Path() / "real" / "new"));
}

TEST(FileDoor, TemporaryDirectoriesArePrivateAndGoWithTheirPlainFilesOnly) {
  test::TempDir base;
  const std::string made = MakeTempDirectory(base.Str() + "/");
  ASSERT_FALSE(made.empty());
  EXPECT_EQ(fs::status(made).permissions() & fs::perms::all, fs::perms::owner_all);

  Write(fs::path(made) / "a.cel", "x");
  fs::create_directory(fs::path(made) / "sub");
  EXPECT_FALSE(RemoveExtractedFiles(made)) << "a folder inside keeps the directory";
  EXPECT_FALSE(fs::exists(fs::path(made) / "a.cel"));
  fs::remove(fs::path(made) / "sub");
  EXPECT_TRUE(RemoveExtractedFiles(made));
  EXPECT_FALSE(fs::exists(made));
  EXPECT_TRUE(MakeTempDirectory((base.Path() / "none").string()).empty());
}

TEST(FilePath, APathSplitsAtItsLastSlashAndItsNameAtItsLastDot) {
  struct Case {
    const char* Path;
    const char* Folder;
    const char* Name;
    const char* Base;
    const char* Extension;
  };
  const Case cases[] = {
      {"/sets/doll.cnf", "/sets/", "doll.cnf", "doll", ".cnf"},
      {"doll.tar.lzh", "", "doll.tar.lzh", "doll.tar", ".lzh"},
      {"/doll.cnf", "/", "doll.cnf", "doll", ".cnf"},
      {"/sets.d/readme", "/sets.d/", "readme", "readme", ""},
      {"/tmp/.lzh", "/tmp/", ".lzh", "", ".lzh"},
      {"/tmp/", "/tmp/", "", "", ""},
      // 表 (0x95 0x5C): only '/' separates in a path, and a backslash byte stays in the name.
      {"/a/\x95\x5C.cnf", "/a/", "\x95\x5C.cnf", "\x95\x5C", ".cnf"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Path);
    const PathParts parts = SplitPath(c.Path);
    EXPECT_EQ(parts.Folder, c.Folder);
    EXPECT_EQ(parts.Name, c.Name);
    EXPECT_EQ(parts.Base, c.Base);
    EXPECT_EQ(parts.Extension, c.Extension);
  }
}

}  // namespace
}  // namespace tavro
