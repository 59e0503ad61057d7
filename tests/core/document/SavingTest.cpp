#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/document/HandBuiltSet.h"
#include "document/ConfigTextWriter.h"
#include "support/PermissionsApply.h"
#include "support/TempDir.h"

namespace tavro {
namespace {

class SavingTest : public ::testing::Test, protected test::HandBuiltSet {
 protected:
  void UseText(const std::string& text) { Build.Text(text); }
  // Gives object `number` a cel in every set and a stored position in set `set`.
  void Position(int number, int set, int x, int y) {
    if (Doc.Set().SlotOf(number) == 0) AddSquare(number, 2);
    Build.StorePosition(number, set, x, y);
    if (set == Doc.Set().CurrentSet()) Place(number, x, y);
  }
  // The text a save writes.
  std::string Saved() {
    const std::string path = (savedDir_.Path() / "saved.cnf").string();
    std::string error;
    EXPECT_TRUE(Doc.SaveConfigFile(path, error)) << error;
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }
  test::TempDir savedDir_;
  // Set lines of sets without positions, for a set with at least one object.
  static std::string Unplaced(int from, int to) {
    std::string lines;
    for (int s = from; s <= to; ++s) lines += "$0 *\r\n";
    return lines;
  }
};

TEST_F(SavingTest, ThreeSetLinesBecomeTenInPlaceAndAppended) {
  Position(0, 0, 10, 20);
  Position(0, 1, 30, 40);
  Build.Group(0, 2);
  Build.Group(2, 1);
  Build.Current(Doc.Set().CurrentSet(),
                2);  // set 0 is shown: saving stores the shown group as its group
  UseText(
      "; dolls\r\n"
      "#0 a.cel\r\n"
      "$2 10,20\r\n"
      "$0 *\r\n"
      " 30,40\r\n"
      "; between\r\n"
      "$1 5,5\r\n"
      "; end\r\n");
  EXPECT_EQ(Saved(),
            "; dolls\n"
            "#0 a.cel\n"
            "$2 10,20\r\n"
            "$0 30,40\r\n"
            "; between\n"
            "$1 *\r\n" +
                Unplaced(3, 9).insert(0, "; end\n"));
}

TEST_F(SavingTest, ObjectsUpToTheLastPositionedOneAreListed) {
  Position(0, 0, 1, 2);
  Position(5, 0, 300, 200);
  AddSquare(7, 2);  // no position: nothing written after object 5
  std::string out;
  EXPECT_TRUE(WriteSetLine(Doc.Set(), 0, out, 80));
  EXPECT_EQ(out, "$0 1,2 * * * * 300,200\r\n");
  EXPECT_FALSE(WriteSetLine(Doc.Set(), 10, out, 80));
}

TEST_F(SavingTest, OriginMeansNoPositionButOneZeroCoordinateIsKept) {
  Position(0, 0, 0, 0);
  Position(1, 0, 0, 7);
  Position(2, 0, 7, 0);
  std::string out;
  WriteSetLine(Doc.Set(), 0, out, 80);
  EXPECT_EQ(out, "$0 * 0,7 7,0\r\n");
  // Object 0 is always listed once there are objects; an empty table gives a bare line.
  HandBuiltSet empty;
  std::string bare;
  WriteSetLine(empty.Doc.Set(), 4, bare, 80);
  EXPECT_EQ(bare, "$0\r\n");
}

TEST_F(SavingTest, NegativeCoordinatesAreWrittenSoTheRestOfTheLineStaysReadable) {
  Position(0, 0, -5, 7);
  Position(1, 0, 20, 30);
  std::string out;
  WriteSetLine(Doc.Set(), 0, out, 80);
  EXPECT_EQ(out, "$0 0,7 20,30\r\n");
}

TEST_F(SavingTest, LongLinesBreakAfterTheEntryReachingColumn70) {
  for (int n = 0; n < 12; ++n) Position(n, 0, 100, 100 + n);
  std::string out;
  WriteSetLine(Doc.Set(), 0, out, 80);
  // "$0" and eight entries of 8 reach 66; the ninth reaches 74 and ends the line.
  EXPECT_EQ(out,
            "$0 100,100 100,101 100,102 100,103 100,104 100,105 100,106 100,107 100,108\r\n"
            " 100,109 100,110 100,111\r\n");
  // An entry that ends exactly at the break leaves no empty line behind.
  for (int n = 0; n < 12; ++n) Position(n, 1, 1000, 1000 + n);
  std::string exact;
  WriteSetLine(Doc.Set(), 1, exact, 80);
  EXPECT_EQ(exact.find("\r\n\r\n"), std::string::npos);
}

TEST_F(SavingTest, CopiedLinesLoseCarriageReturnsButKeepEverythingElse) {
  Position(0, 0, 1, 1);
  const std::string zeroByte(1, '\0');
  UseText("; comment\r\n\tTab line\n;@press(#0)\n#0 a" + zeroByte +
          "b.cel\n$0 1,1\n ignored continuation\n  another\n%last.kcf");
  const std::string saved = Saved();
  const std::string copied = "; comment\n\tTab line\n;@press(#0)\n#0 a" + zeroByte + "b.cel\n";
  EXPECT_EQ(saved.substr(0, copied.size()), copied);
  EXPECT_EQ(saved.find("continuation"), std::string::npos);
  EXPECT_EQ(saved.find("another"), std::string::npos);
  // The last line has no line feed: it is kept, at the very end, still without one.
  EXPECT_EQ(saved.substr(saved.size() - 15), "$0 *\r\n%last.kcf");
}

TEST_F(SavingTest, LinesEndedByASecondCarriageReturnGetOneLineEndEach) {
  Position(0, 0, 1, 1);
  // CR CR LF lines, then carriage returns alone (two physical lines read as one), and a last
  // line ending at its second carriage return.
  UseText("; a\r\r\n; b\r\r\n; c\r; d\r$0 1,1\r\n; e\r\r");
  EXPECT_EQ(Saved(), "; a\n; b\n; c; d\n$0 1,1\r\n; e\n" + Unplaced(1, 9));
}

TEST_F(SavingTest, EleventhSetLineIsDroppedWithItsContinuation) {
  std::string text;
  for (int s = 0; s < 11; ++s) text += "$0\n";
  UseText(text + " 1,1\n; after\n");
  std::string bare;
  for (int s = 0; s < 10; ++s) bare += "$0\r\n";
  EXPECT_EQ(Saved(), bare + "; after\n");
}

TEST_F(SavingTest, NothingReadNothingWritten) {
  Build.Text("");
  EXPECT_EQ(Saved(), "");
}

TEST_F(SavingTest, EverySetWrittenIsAppliedAndTheShownOneAfterIt) {
  ASSERT_TRUE(ScriptsRun());
  AddSquare(0, 2);
  Build.Current(3, Doc.Set().CurrentGroup());
  for (int set = 0; set < kSetCount; ++set) BindDebug(11, set, std::to_string(set));
  UseText("$0\n");
  Saved();
  std::vector<std::string> expected;
  for (int set = 0; set < kSetCount; ++set) {
    expected.push_back(std::to_string(set));
    expected.push_back("3");
  }
  EXPECT_EQ(Host.MessageTexts(), expected);
  EXPECT_EQ(Doc.Set().CurrentSet(), 3);
}

// A set from an archive is refused in ArchiveOpenTest, where one is opened.
TEST_F(SavingTest, SaveIsOfferedOnlyForALoadedSet) {
  EXPECT_TRUE(Doc.CanSave());
  Doc.MarkSetLoaded(false);
  EXPECT_FALSE(Doc.CanSave());
}

class SaveFileTest : public SavingTest {
 protected:
  test::TempDir dir_;
  std::string Path(const std::string& name) { return (dir_.Path() / name).string(); }
  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  static void Write(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
  }
  void SetUp() override {
    Position(0, 0, 12, 34);
    UseText("#0 a.cel\n$0 1,1\n");
  }
  size_t FilesInDir() {
    return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(dir_.Path()),
                                             std::filesystem::directory_iterator()));
  }
};

TEST_F(SaveFileTest, AnExistingFileIsOverwrittenOnlyWhenConfirmed) {
  const std::string path = Path("set.cnf");
  Write(path, "old");
  EXPECT_TRUE(Doc.MustConfirmOverwrite(path));
  const SaveResult refused = Doc.OnSaveDocument(path, false);
  EXPECT_FALSE(refused.Saved);
  EXPECT_TRUE(refused.NotConfirmed);
  EXPECT_TRUE(refused.Error.empty());
  EXPECT_EQ(Read(path), "old");
  const SaveResult saved = Doc.OnSaveDocument(path, true);
  EXPECT_TRUE(saved.Saved);
  EXPECT_FALSE(saved.NotConfirmed);
  EXPECT_EQ(Read(path), "#0 a.cel\n$0 12,34\r\n" + Unplaced(1, 9));
  EXPECT_EQ(FilesInDir(), 1u) << "no temporary file is left beside it";
}

TEST_F(SaveFileTest, MissingFileTurnsIntoSaveAsWithoutAQuestion) {
  EXPECT_FALSE(Doc.MustConfirmOverwrite(Path("gone.cnf")));
  EXPECT_FALSE(Doc.MustConfirmOverwrite(""));
  EXPECT_TRUE(Doc.OnSaveDocument(Path("new.cnf"), false).Saved);
  EXPECT_EQ(Read(Path("new.cnf")).substr(0, 9), "#0 a.cel\n");
}

TEST_F(SaveFileTest, ReadOnlyFileTurnsIntoSaveAsAndIsNeverReplaced) {
  const std::string path = Path("locked.cnf");
  Write(path, "old");
  ::chmod(path.c_str(), 0444);  // read-only even for root, who could write it regardless
  EXPECT_FALSE(Doc.MustConfirmOverwrite(path));
  // Chosen again by name in the save dialog, it is refused rather than renamed over.
  const SaveResult refused = Doc.OnSaveDocument(path, true);
  EXPECT_FALSE(refused.Saved);
  EXPECT_EQ(Read(path), "old");
  EXPECT_NE(refused.Error.find("locked.cnf"), std::string::npos);
  EXPECT_EQ(FilesInDir(), 1u);
}

TEST_F(SaveFileTest, AFileInAFolderThatMayNotBeWrittenIsSavedAfterTheQuestion) {
  const std::string path = Path("set.cnf");
  Write(path, "old");
  ::chmod(dir_.Path().c_str(), 0555);
  {
    test::PermissionsApply permissions;
    ASSERT_TRUE(permissions.Active());
    EXPECT_TRUE(Doc.MustConfirmOverwrite(path));
    const SaveResult saved = Doc.OnSaveDocument(path, true);
    EXPECT_TRUE(saved.Saved);
    EXPECT_EQ(saved.Error, "");
  }
  ::chmod(dir_.Path().c_str(), 0755);
  EXPECT_EQ(Read(path), "#0 a.cel\n$0 12,34\r\n" + Unplaced(1, 9));
}

TEST_F(SaveFileTest, FailedWriteKeepsTheTargetAndLeavesNoTemporaryFile) {
  const std::string target = Path("taken");
  std::filesystem::create_directory(target);
  Write(target + "/inside", "keep");
  std::string error;
  EXPECT_FALSE(Doc.SaveConfigFile(target, error));
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(Read(target + "/inside"), "keep");
  EXPECT_EQ(FilesInDir(), 1u);

  EXPECT_FALSE(Doc.SaveConfigFile(Path("no/such/dir/set.cnf"), error));
  const SaveResult failed = Doc.OnSaveDocument(Path("no/such/dir/set.cnf"), false);
  EXPECT_FALSE(failed.Saved);
  EXPECT_FALSE(failed.Error.empty()) << "a failed save says why";
}

TEST_F(SaveFileTest, SavingThroughALinkReplacesTheLinkedFileAndKeepsItsMode) {
  const std::string real = Path("real.cnf");
  Write(real, "old");
  ::chmod(real.c_str(), 0640);
  std::filesystem::create_symlink(real, Path("link.cnf"));
  std::string error;
  ASSERT_TRUE(Doc.SaveConfigFile(Path("link.cnf"), error)) << error;
  EXPECT_TRUE(std::filesystem::is_symlink(Path("link.cnf")));
  EXPECT_EQ(Read(real).substr(0, 9), "#0 a.cel\n");
  struct stat info {};
  ::stat(real.c_str(), &info);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
}

}  // namespace
}  // namespace tavro
