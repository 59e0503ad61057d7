// Unpacking archives flat: names kept to their base, escapes refused, links and devices skipped,
// limits kept, damage survived.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "archives/ArchiveExtract.h"
#include "support/ArchiveFiles.h"
#include "support/LzhMember.h"
#include "support/TempDir.h"

namespace tavro {
namespace {

namespace fs = std::filesystem;

using test::HaveArchiver;
using test::MakeLzh;
using test::Read;
using test::Write;

std::string StoredMember(const std::string& name, const std::string& data, uint16_t unixMode = 0,
                         const std::string& method = "-lh0-") {
  return test::StoredLzhMember(name, data, unixMode, method);
}

size_t EntriesIn(const fs::path& dir) {
  return static_cast<size_t>(std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
}

TEST(FlatMemberNameTest, KeepsBaseNamesAndRefusesEscapes) {
  EXPECT_EQ(FlatMemberName("a.cnf"), "a.cnf");
  EXPECT_EQ(FlatMemberName("sub/dir/b.cel"), "b.cel");
  EXPECT_EQ(FlatMemberName("sub\\c.cel"), "c.cel");
  EXPECT_EQ(FlatMemberName("../up.cnf"), "");
  EXPECT_EQ(FlatMemberName("sub/../../x.cel"), "");
  EXPECT_EQ(FlatMemberName("..\\x.cel"), "");
  EXPECT_EQ(FlatMemberName("/etc/x"), "");
  EXPECT_EQ(FlatMemberName("C:\\x.cel"), "");
  EXPECT_EQ(FlatMemberName("dir/"), "");
  EXPECT_EQ(FlatMemberName(".."), "");
  EXPECT_EQ(FlatMemberName(""), "");
}

class ExtractTest : public ::testing::Test {
 protected:
  test::TempDir work_;
  fs::path out_ = work_.Path() / "out" / "inner";
  void SetUp() override { fs::create_directories(out_); }
};

TEST_F(ExtractTest, EveryRegularMemberLandsFlat) {
  if (!HaveArchiver()) GTEST_SKIP() << "jlha (Debian package jlha-utils) is not installed";
  Write(work_.Path() / "src/set.cnf", "#0 a.cel\n");
  Write(work_.Path() / "src/cels/a.cel", std::string(5000, 'x'));
  MakeLzh(work_.Path() / "src", "../set.lzh", "set.cnf cels/a.cel");
  const ExtractResult result =
      ExtractArchiveFlat((work_.Path() / "set.lzh").string(), out_.string());
  EXPECT_EQ(result.Status, ExtractStatus::Ok) << result.Detail;
  EXPECT_EQ(result.Written, 2u);
  EXPECT_EQ(Read(out_ / "set.cnf"), "#0 a.cel\n");
  EXPECT_EQ(Read(out_ / "a.cel"), std::string(5000, 'x'));
  EXPECT_EQ(EntriesIn(out_), 2u);
}

TEST_F(ExtractTest, HostileNamesAreNeverWrittenOutsideTheDirectory) {
  const std::string archive =
      StoredMember("../up.cnf", "x") + StoredMember("../../top.cnf", "x") +
      StoredMember("sub/../../mid.cnf", "x") + StoredMember("/tmp/tavro-absolute.cnf", "x") +
      StoredMember("C:\\drive.cnf", "x") + StoredMember("ok.cel", "fine") + std::string(1, '\0');
  Write(work_.Path() / "bad.lzh", archive);
  const ExtractResult result =
      ExtractArchiveFlat((work_.Path() / "bad.lzh").string(), out_.string());
  EXPECT_EQ(result.Status, ExtractStatus::Ok) << result.Detail;
  EXPECT_EQ(Read(out_ / "ok.cel"), "fine");
  EXPECT_EQ(EntriesIn(out_), 1u);
  EXPECT_FALSE(fs::exists(out_.parent_path() / "up.cnf"));
  EXPECT_FALSE(fs::exists(work_.Path() / "top.cnf"));
  EXPECT_FALSE(fs::exists(work_.Path() / "mid.cnf"));
  EXPECT_FALSE(fs::exists("/tmp/tavro-absolute.cnf"));
}

TEST_F(ExtractTest, LinksDevicesAndDirectoriesAreSkipped) {
  const fs::path target = work_.Path() / "target";
  Write(target, "precious");
  const std::string archive = StoredMember("link|" + target.string(), "", 0120777) +
                              StoredMember("tty", "", 0020666) +
                              StoredMember("folder\\", "", 0040755, "-lhd-") +
                              StoredMember("plain.cel", "ok", 0100644) + std::string(1, '\0');
  Write(work_.Path() / "odd.lzh", archive);
  const ExtractResult result =
      ExtractArchiveFlat((work_.Path() / "odd.lzh").string(), out_.string());
  EXPECT_EQ(result.Status, ExtractStatus::Ok) << result.Detail;
  EXPECT_EQ(result.Skipped, 3u);
  EXPECT_EQ(Read(out_ / "plain.cel"), "ok");
  EXPECT_FALSE(fs::exists(out_ / "tty"));
  EXPECT_FALSE(fs::exists(out_ / "target"));
  EXPECT_FALSE(fs::exists(out_ / "folder"));
  for (const auto& item : fs::directory_iterator(out_)) {
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(item.path()))) << item.path();
  }
  EXPECT_EQ(Read(target), "precious");
}

TEST_F(ExtractTest, ALinkAlreadyInTheDirectoryIsNotWrittenThrough) {
  Write(work_.Path() / "victim", "precious");
  fs::create_symlink(work_.Path() / "victim", out_ / "a.cel");
  Write(work_.Path() / "one.lzh", StoredMember("a.cel", "evil") + std::string(1, '\0'));
  const ExtractResult result =
      ExtractArchiveFlat((work_.Path() / "one.lzh").string(), out_.string());
  EXPECT_NE(result.Status, ExtractStatus::Ok);
  EXPECT_EQ(Read(work_.Path() / "victim"), "precious");
}

TEST_F(ExtractTest, SizeAndMemberLimitsStopExtraction) {
  std::string archive;
  for (int i = 0; i < 5; ++i)
    archive += StoredMember("m" + std::to_string(i), std::string(100, 'a'));
  archive += std::string(1, '\0');
  Write(work_.Path() / "big.lzh", archive);
  const std::string path = (work_.Path() / "big.lzh").string();
  EXPECT_EQ(ExtractArchiveFlat(path, out_.string(), {450, 100}).Status, ExtractStatus::TooLarge);
  EXPECT_EQ(ExtractArchiveFlat(path, out_.string(), {1000, 4}).Status,
            ExtractStatus::TooManyMembers);
  EXPECT_EQ(ExtractArchiveFlat(path, out_.string(), {500, 5}).Status, ExtractStatus::Ok);
}

TEST_F(ExtractTest, CorruptOrMissingArchivesFailCleanly) {
  const std::string good = StoredMember("a.cnf", std::string(300, 'q')) + std::string(1, '\0');
  std::string flipped = good;
  flipped[40] ^= 0x5A;  // data no longer matches its check sum
  for (const std::string& bytes : {good.substr(0, 30), good.substr(0, good.size() - 100), flipped,
                                   std::string(64, '\x7f'), std::string("-lh5-garbage")}) {
    Write(work_.Path() / "c.lzh", bytes);
    EXPECT_NE(ExtractArchiveFlat((work_.Path() / "c.lzh").string(), out_.string()).Status,
              ExtractStatus::Ok);
  }
  EXPECT_EQ(ExtractArchiveFlat((work_.Path() / "none.lzh").string(), out_.string()).Status,
            ExtractStatus::CannotOpen);
}

// A folder or a pipe under an archive's name holds no archive; the pipe is never opened, since
// opening it would wait for a writer forever.
TEST_F(ExtractTest, AFolderOrPipeNamedLikeAnArchiveIsNoArchive) {
  fs::create_directory(work_.Path() / "folder.lzh");
  ASSERT_EQ(::mkfifo((work_.Path() / "pipe.lzh").c_str(), 0600), 0);
  ASSERT_EQ(::mkfifo((work_.Path() / "pipe.zip").c_str(), 0600), 0);
  for (const char* name : {"folder.lzh", "pipe.lzh", "pipe.zip"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(ExtractArchiveFlat((work_.Path() / name).string(), out_.string()).Status,
              ExtractStatus::NotAnArchive);
  }
  EXPECT_EQ(ExtractZipFlat((work_.Path() / "pipe.zip").string(), out_.string()).Status,
            ExtractStatus::CannotOpen);
}

TEST_F(ExtractTest, MangledCompressedArchivesNeverCrashOrEscape) {
  if (!HaveArchiver()) GTEST_SKIP() << "jlha (Debian package jlha-utils) is not installed";
  std::string text;
  for (int i = 0; i < 400; ++i)
    text += "#" + std::to_string(i) + " cel" + std::to_string(i % 7) + ".cel\n";
  Write(work_.Path() / "src/big.cnf", text);
  MakeLzh(work_.Path() / "src", "../big.lzh", "big.cnf");
  const std::string original = Read(work_.Path() / "big.lzh");
  uint32_t seed = 12345;
  auto next = [&seed] { return (seed = seed * 1103515245u + 12345u) >> 8; };
  const std::string mangled = (work_.Path() / "mangled.lzh").string();
  for (int round = 0; round < 200; ++round) {
    std::string bytes = original;
    for (int flips = 1 + next() % 4; flips > 0; --flips) {
      bytes[next() % bytes.size()] = static_cast<char>(next());
    }
    if (round % 5 == 0) bytes.resize(next() % bytes.size());
    Write(mangled, bytes);
    ExtractArchiveFlat(mangled, out_.string(), {1 << 20, 100});
  }
  for (const auto& item : fs::directory_iterator(out_)) EXPECT_TRUE(item.is_regular_file());
  EXPECT_EQ(EntriesIn(work_.Path()), 4u) << "nothing written beside the output directory";
}

TEST(LzhExtractTest, DevicesAndFoldersAreSkippedAndNamesKeepTheirBytes) {
  test::TempDir work;
  const fs::path out = work.Path() / "out";
  fs::create_directories(out);
  const std::string archive =
      test::StoredLzhMember("tty", "", 0020666) + test::StoredLzhMember("fifo", "", 0010644) +
      test::StoredLzhMember("\x83\x5C", "so") + test::StoredLzhMember("..\\\x83\x5C", "up") +
      test::StoredLzhMember("\\abs", "abs") + std::string(1, '\0');
  std::ofstream(work.Path() / "x.lzh", std::ios::binary) << archive;
  const ExtractResult result = ExtractLzhFlat((work.Path() / "x.lzh").string(), out.string());
  EXPECT_EQ(result.Status, ExtractStatus::Ok) << result.Detail;
  EXPECT_EQ(result.Written, 1u);
  EXPECT_EQ(result.Skipped, 4u);
  EXPECT_EQ(Read(out / "\x83\x5C"), "so");
}

}  // namespace
}  // namespace tavro
