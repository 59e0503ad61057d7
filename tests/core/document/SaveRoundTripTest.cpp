// Saving a loaded set and reading it back, through the same open and save steps the window and
// the renderer use.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "document/CTavroDoc.h"
#include "support/FakeHost.h"
#include "support/SetFiles.h"
#include "support/TempDir.h"

namespace tavro {
namespace {

class SaveRoundTripTest : public ::testing::Test {
 protected:
  test::FakeHost host_;
  test::TempDir dir_;
  test::SetFiles files_{dir_.Path()};
  CTavroDoc doc_{host_};

  void SetUp() override {
    files_.OldPalette("pal.kcf");
    files_.SolidCel("body.cel", 20, 30, 2);
    files_.SolidCel("hat.cel", 8, 8, 3);
    files_.SolidCel("shoe.cel", 6, 4, 5);
    files_.WriteText("set.cnf",
                     "; a doll\r\n"
                     "(200,150\r\n"
                     "%pal.kcf\r\n"
                     "#0 body.cel :0 1 2 ;the body\r\n"
                     "#1.8 hat.cel :0 2\r\n"
                     "#5 shoe.cel :2\r\n"
                     "$0 10,20 30,5\r\n"
                     "$1 40,50\r\n"
                     "$3 *\r\n"
                     "; last words");
    ASSERT_TRUE(OpenAsWindow(doc_, host_, Path("set.cnf")).Opened);
    ASSERT_TRUE(doc_.IsSetLoaded());
  }
  std::string Path(const std::string& name) { return files_.Path(name).string(); }
  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  static const ObjectEntry& Object(const CTavroDoc& d, int number) {
    return d.Set().ObjectTable()[d.Set().SlotOf(number)];
  }

  void DragObject(int fromX, int fromY, int toX, int toY) {
    doc_.Pointer().MoveWithin(fromX, fromY);
    doc_.PressAtPointer();
    ASSERT_NE(doc_.Pointer().HeldSlot(), 0);
    doc_.Pointer().MoveWithin(toX, toY);
    doc_.DragStep(CTavroDoc::DragPhase::Move);
    doc_.DropHeldObject();
  }
};

TEST_F(SaveRoundTripTest, SavedFileHasTenSetLinesWithThePositionsOfTheMoment) {
  ASSERT_EQ(doc_.SelectSet(2), CTavroDoc::SetChoice::Switched);
  DragObject(5, 5, 65, 45);  // object 0 was at (0, 0) in set 2
  EXPECT_EQ(Object(doc_, 0).X, 60);
  std::string error;
  ASSERT_TRUE(doc_.SaveConfigFile(Path("saved.cnf"), error)) << error;
  EXPECT_EQ(Read(Path("saved.cnf")),
            "; a doll\n"
            "(200,150\n"
            "%pal.kcf\n"
            "#0 body.cel :0 1 2 ;the body\n"
            "#1.8 hat.cel :0 2\n"
            "#5 shoe.cel :2\n"
            "$0 10,20 30,5\r\n"
            "$1 40,50\r\n"
            "$3 60,40\r\n"  // the third set line is set 2's, shown now
            "$0 *\r\n$0 *\r\n$0 *\r\n$0 *\r\n$0 *\r\n$0 *\r\n$0 *\r\n"
            "; last words");
  EXPECT_EQ(doc_.Set().CurrentSet(), 2) << "saving returns to the shown set";
  EXPECT_EQ(Object(doc_, 0).X, 60);
}

TEST_F(SaveRoundTripTest, ReadingTheSavedFileGivesTheSamePictureAndPositions) {
  ASSERT_EQ(doc_.SelectSet(1), CTavroDoc::SetChoice::Switched);
  DragObject(45, 55, 100, 100);
  std::string error;
  ASSERT_TRUE(doc_.SaveConfigFile(Path("saved.cnf"), error)) << error;

  test::FakeHost otherHost;
  CTavroDoc reread(otherHost);
  ASSERT_TRUE(OpenAsWindow(reread, otherHost, Path("saved.cnf")).Opened);
  reread.SelectSet(1);
  EXPECT_EQ(reread.Map().Bytes(), doc_.Map().Bytes());
  for (int number : {0, 1, 5}) {
    for (int set = 0; set < kSetCount; ++set) {
      EXPECT_EQ(Object(reread, number).SetX[set], Object(doc_, number).SetX[set]) << number << set;
      EXPECT_EQ(Object(reread, number).SetY[set], Object(doc_, number).SetY[set]) << number << set;
    }
  }
}

TEST_F(SaveRoundTripTest, SaveCommandOverwritesTheOpenedFileAfterAsking) {
  EXPECT_TRUE(doc_.CanSave());
  ASSERT_TRUE(doc_.MustConfirmOverwrite(Path("set.cnf")));
  ASSERT_TRUE(doc_.OnSaveDocument(Path("set.cnf"), true).Saved);
  const std::string once = Read(Path("set.cnf"));
  ASSERT_TRUE(OpenAsWindow(doc_, host_, Path("set.cnf")).Opened);
  ASSERT_TRUE(doc_.OnSaveDocument(Path("set.cnf"), true).Saved);
  EXPECT_EQ(Read(Path("set.cnf")), once) << "a second save changes nothing";
}

}  // namespace
}  // namespace tavro
