// Sets as they travel in the wild: Shift_JIS names (0x5C second bytes among them) in plain
// folders, in LZH archives of every header level and in ZIP archives without the UTF-8 flag.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "document/CTavroDoc.h"
#include "support/FakeHost.h"
#include "support/LzhMember.h"
#include "support/SetFiles.h"
#include "support/TempDir.h"

namespace tavro {
namespace {

namespace fs = std::filesystem;

// Shift_JIS: 表 and ソ end in 0x5C; 人形 has the letter 'l' (0x6C) as a second byte.
const std::string kCel = "\x95\x5C.cel";                      // 表.cel
const std::string kPalette = "\x83\x5C\x83\x74\x83\x67.kcf";  // ソフト.kcf
const std::string kConfig = "\x94\x5C.cnf";                   // 能.cnf
const std::string kDoll = "\x90\x6C\x8C\x60";                 // 人形
const std::string kConfigText = "(40,30)\n%" + kPalette + "\n#0 " + kCel + " :0\n$0 2,2\n";

std::string Read(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

bool Shell(const std::string& command) { return std::system(command.c_str()) == 0; }
bool Have(const char* tool) {
  return Shell(std::string("command -v ") + tool + " >/dev/null 2>&1");
}

class JapaneseSetTest : public ::testing::Test {
 protected:
  test::TempDir work_;
  test::TempDir tmp_;
  test::FakeHost host_;
  std::unique_ptr<CTavroDoc> doc_ = std::make_unique<CTavroDoc>(host_);
  fs::path set_ = work_.Path() / kDoll;  // a folder named in Shift_JIS too

  void SetUp() override {
    host_.TmpDir = tmp_.Str();
    fs::create_directories(set_);
    const test::SetFiles files(set_);
    files.WriteText(kConfig, kConfigText);
    files.OldPalette(kPalette);
    files.SolidCel(kCel, 4, 4, 1);
  }
  std::string Path(const std::string& name) const { return (work_.Path() / name).string(); }

  void ExpectLoaded(const std::string& what) {
    EXPECT_TRUE(doc_->IsSetLoaded()) << what;
    EXPECT_EQ(doc_->LastLoad().LoadedCels, 1) << what;
    EXPECT_EQ(doc_->Set().Palettes().PaletteFileCount, 1) << what;
    EXPECT_EQ(doc_->LastLoad().Errors, 0) << what;
  }
  // What the archive's folder holds after extraction: each name's own bytes.
  void ExpectExtractedAsStored(const std::string& what) {
    const fs::path temp = doc_->Archive().Directory();
    EXPECT_EQ(Read(temp / kConfig), kConfigText) << what;
    EXPECT_EQ(Read(temp / kCel), Read(set_ / kCel)) << what;
    EXPECT_EQ(Read(temp / kPalette), Read(set_ / kPalette)) << what;
  }
};

TEST_F(JapaneseSetTest, OpensFromAFolderNamedInShiftJis) {
  ASSERT_TRUE(OpenAsWindow(*doc_, host_, (set_ / kConfig).string()).Opened);
  ExpectLoaded("plain folder");
  EXPECT_TRUE(host_.Messages.empty());
}

TEST_F(JapaneseSetTest, OpensFromEveryLzhHeaderLevelAndMethodJlhaWrites) {
  if (!Have("jlha")) GTEST_SKIP() << "jlha (Debian package jlha-utils) is not installed";
  // jlha's "y" stores names as Shift_JIS; it reads the files under their UTF-8 names.
  const fs::path utf8 = work_.Path() / "utf8";
  fs::create_directories(utf8);
  fs::copy_file(set_ / kConfig, utf8 / "能.cnf");
  fs::copy_file(set_ / kCel, utf8 / "表.cel");
  fs::copy_file(set_ / kPalette, utf8 / "ソフト.kcf");
  for (const std::string options : {"0y", "1y", "2y", "o6y", "o7y", "0zy", "1o6y"}) {
    const std::string name = "set" + options + ".lzh";
    ASSERT_TRUE(Shell("cd '" + utf8.string() + "' && jlha a" + options + " ../" + name +
                      " 能.cnf 表.cel ソフト.kcf >/dev/null 2>&1"))
        << options;
    ASSERT_TRUE(OpenAsWindow(*doc_, host_, Path(name)).Opened) << options;
    ExpectLoaded(options);
    ExpectExtractedAsStored(options);
  }
  EXPECT_TRUE(host_.Messages.empty());
}

TEST_F(JapaneseSetTest, OpensFromHandMadeLevel0And1HeadersWithBackslashFolders) {
  // 十 (0x8F 0x5C) is a folder, joined by a real backslash; the palette sits in a folder
  // extension, the configuration's name ends in 0x5C.
  const std::string level0 = test::StoredLzhMember("\x8F\x5C\\" + kCel, Read(set_ / kCel)) +
                             test::StoredLzhLevel1Member(kPalette, Read(set_ / kPalette),
                                                         "\x8F\x5C\xFF"
                                                         "dir\xFF") +
                             test::StoredLzhLevel1Member("sub\\" + kConfig, kConfigText) +
                             std::string(1, '\0');
  std::ofstream(Path(kDoll + ".lzh"), std::ios::binary) << level0;
  ASSERT_TRUE(OpenAsWindow(*doc_, host_, Path(kDoll + ".lzh")).Opened);
  ExpectLoaded("hand-made headers");
  ExpectExtractedAsStored("hand-made headers");
  // The title is the archive's name in capitals, its Shift_JIS second bytes untouched.
  EXPECT_EQ(doc_->Archive().DocumentTitle(), kDoll + ".LZH");
}

TEST_F(JapaneseSetTest, OpensFromAZipWithCp932NamesAndNoUtf8Flag) {
  if (!Have("zip")) GTEST_SKIP() << "zip is not installed";
  // zip stores the bytes of the names as they are on disk, without the UTF-8 flag.
  ASSERT_TRUE(Shell("cd '" + set_.string() + "' && LC_ALL=C zip -q ../set.zip * >/dev/null 2>&1"));
  const OpenResult opened = doc_->OnOpenDocument(Path("set.zip"));
  ASSERT_TRUE(opened.Opened);
  doc_->StartLoadedSet();
  ExpectLoaded("zip");
  ExpectExtractedAsStored("zip");
  EXPECT_EQ(opened.RecentFile, Path("set.zip"));
}

TEST_F(JapaneseSetTest, ARepeatOpenComparesTheArchivePathExactly) {
  std::ofstream(Path("doll.lzh"), std::ios::binary)
      << test::StoredLzhMember("a.cnf", "(40,30)\n") << std::string(1, '\0');
  std::ofstream(Path("DOLL.LZH"), std::ios::binary)
      << test::StoredLzhMember("b.cnf", "(50,30)\n") << std::string(1, '\0');
  ASSERT_TRUE(OpenAsWindow(*doc_, host_, Path("doll.lzh")).Opened);
  ASSERT_TRUE(OpenAsWindow(*doc_, host_, Path("DOLL.LZH")).Opened);
  EXPECT_EQ(doc_->Set().Path().SetBaseName, "b") << "the second archive is another archive";
  EXPECT_EQ(doc_->Set().PlayfieldWidth(), 50);
}

TEST_F(JapaneseSetTest, AnArchiveThatCannotBeOpenedSaysWhy) {
  const std::string good = test::StoredLzhMember("a.cel", "abc");
  std::string damaged = test::StoredLzhMember("b.cel", "0123456789");
  damaged[damaged.size() - 3] ^= 0x20;  // the data no longer matches its CRC
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"not an archive at all", "it is not an archive"},
      {good + damaged + std::string(1, '\0'), "it is damaged at member 2"},
      {good + good.substr(0, 12), "it is damaged at member 2"},
      {good + std::string(1, '\0'), "there is no configuration file inside"},
      {test::StoredLzhMember("a.cnf", "x", 0, "-lh9-") + std::string(1, '\0'),
       "member 1 is packed with an unsupported method (-lh9-)"},
  };
  int number = 0;
  for (const auto& [bytes, reason] : cases) {
    host_.Messages.clear();
    // Each under a name of its own: the same path again would reuse what was extracted.
    const std::string path = Path("bad" + std::to_string(number++) + ".lzh");
    std::ofstream(path, std::ios::binary) << bytes;
    EXPECT_FALSE(OpenAsWindow(*doc_, host_, path).Opened);
    ASSERT_EQ(host_.Messages.size(), 1u) << reason;
    EXPECT_EQ(host_.Messages[0], "Cannot open the archive \"" + path + "\": " + reason + ".");
  }
  std::ofstream(Path("bad.zip"), std::ios::binary) << "PK\x03\x04 broken";
  host_.Messages.clear();
  EXPECT_FALSE(OpenAsWindow(*doc_, host_, Path("bad.zip")).Opened);
  ASSERT_EQ(host_.Messages.size(), 1u);
}

}  // namespace
}  // namespace tavro
