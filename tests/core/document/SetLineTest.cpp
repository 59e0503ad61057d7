#include <gtest/gtest.h>

#include <string>

#include "core/document/LoadFixture.h"

namespace tavro {
namespace {

class SetLineTest : public test::LoadFixture {
 protected:
  // Cel lines for objects 0 .. count-1, so that set lines have objects to place.
  static std::string Objects(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += "#" + std::to_string(i) + " o.cel\n";
    return text;
  }
  std::pair<int, int> At(int object, int set) {
    const ObjectEntry& o = Object(object);
    return {o.SetX[set], o.SetY[set]};
  }
  using P = std::pair<int, int>;
};

TEST_F(SetLineTest, EntriesPlaceObjectsInOrderAndStarsSkipThem) {
  Load(Objects(3) + "$3 120,85 * 300,20\n");
  EXPECT_EQ(doc_.Set().GroupOfSet(0), 3);
  EXPECT_EQ(At(0, 0), P(120, 85));
  EXPECT_EQ(At(1, 0), P(0, 0));
  EXPECT_EQ(At(2, 0), P(300, 20));
}

TEST_F(SetLineTest, EachSetLineIsTheNextSetAndTheSeparatorIsAnyByte) {
  Load(Objects(2) + "$1 1,1\n$ 2x2 3;3\n$12 4,4 *\n");
  EXPECT_EQ(doc_.Set().GroupOfSet(0), 1);
  EXPECT_EQ(doc_.Set().GroupOfSet(1), 0);   // "$ " names no group: unchanged
  EXPECT_EQ(doc_.Set().GroupOfSet(2), 12);  // taken as written
  EXPECT_EQ(At(0, 0), P(1, 1));
  EXPECT_EQ(At(0, 1), P(2, 2));
  EXPECT_EQ(At(1, 1), P(3, 3));
  EXPECT_EQ(At(0, 2), P(4, 4));
  EXPECT_EQ(At(1, 2), P(0, 0));
}

TEST_F(SetLineTest, ContinuationLinesGoOnWhereThePreviousLineStopped) {
  Load(Objects(4) + "$0 1,1\n 2,2\n * 4,4\n$0 5,5\n;comment\n 6,6\n");
  EXPECT_EQ(At(0, 0), P(1, 1));
  EXPECT_EQ(At(1, 0), P(2, 2));
  EXPECT_EQ(At(2, 0), P(0, 0));
  EXPECT_EQ(At(3, 0), P(4, 4));
  EXPECT_EQ(At(0, 1), P(5, 5));
  EXPECT_EQ(At(1, 1), P(0, 0));  // a comment line in between ends the set line
}

TEST_F(SetLineTest, ABadEntryStopsTheLineAndTheContinuationRetriesThatObject) {
  Load(Objects(3) + "$0 5, 6 7,7\n 8,8\n$0 1,1 -2,2 3,3\n 9,9\n");
  EXPECT_EQ(At(0, 0), P(8, 8));  // "5, 6" stored nothing; the continuation starts at object 0
  EXPECT_EQ(At(1, 0), P(0, 0));
  EXPECT_EQ(At(0, 1), P(1, 1));
  EXPECT_EQ(At(1, 1), P(9, 9));  // stopped at the negative x
  EXPECT_EQ(At(2, 1), P(0, 0));
}

TEST_F(SetLineTest, PositionsOnlyReachObjectsOfEarlierCelLines) {
  Load("$4 1,1\n#0 a.cel\n#2 b.cel\n$0 1,1 5,5 3,3 4,4 7,7\n");
  EXPECT_EQ(At(0, 0), P(0, 0));            // no object existed yet
  EXPECT_EQ(doc_.Set().GroupOfSet(0), 4);  // but its colour group counts
  EXPECT_EQ(At(0, 1), P(1, 1));
  EXPECT_EQ(At(2, 1), P(3, 3));  // object 1 has no slot: its entry was read and dropped
}

TEST_F(SetLineTest, TheEleventhSetLineAndItsContinuationsAreIgnored) {
  std::string text = Objects(2);
  for (int set = 0; set < 10; ++set) text += "$" + std::to_string(set) + " 1,1\n";
  text += "$7 99,99\n 98,98\n";
  Load(text);
  for (int set = 0; set < 10; ++set) {
    EXPECT_EQ(doc_.Set().GroupOfSet(set), set);
    EXPECT_EQ(At(0, set), P(1, 1));
    EXPECT_EQ(At(1, set), P(0, 0)) << "set " << set;
  }
}

TEST_F(SetLineTest, ALongLineSplitBeforeASpaceContinues) {
  // 255 bytes end the first line; the rest starts with a space and so continues set 0.
  const std::string head = "$0 1,1";
  Load(Objects(3) + head + std::string(255 - head.size(), ' ') + " 2,2 3,3\n");
  EXPECT_EQ(At(0, 0), P(1, 1));
  EXPECT_EQ(At(1, 0), P(2, 2));
  EXPECT_EQ(At(2, 0), P(3, 3));
}

TEST_F(SetLineTest, ALineCutRightAfterXIsNotReadPastItsEnd) {
  // The cut falls between "12" and ",34": the entry is incomplete and the rest is no
  // continuation (it starts with a comma). Under the address sanitizer a step over the line's
  // terminating zero would show as a read outside the line buffer.
  const std::string head = "$0";
  Load(Objects(1) + head + std::string(253 - head.size(), ' ') + "12,34\n");
  EXPECT_EQ(At(0, 0), P(0, 0));
}

TEST_F(SetLineTest, CoordinatesTooLargeFor16BitsStayLarge) {
  Load(Objects(1) + "$0 40000,70000\n");
  EXPECT_EQ(At(0, 0), P(32767, 32767));
}

TEST_F(SetLineTest, ASpaceLineAfterOtherLinesIsNoContinuation) {
  Load(Objects(1) + " 5,5\n$0\n\n 6,6\n");
  EXPECT_EQ(At(0, 0), P(0, 0));
}

TEST_F(SetLineTest, CarriageReturnOnlyFilesReadTwoPhysicalLinesAsOne) {
  Load("#0 a.cel\r$0 5,5\r#1 b.cel\r\r$0 7,7\r\r");
  // "#0 a.cel$0 5,5" is one cel line; "#1 b.cel" and "$0 7,7" stand alone.
  ASSERT_EQ(doc_.Set().CellCount(), 2);
  EXPECT_STREQ(doc_.Set().CellTable()[0].FileName, "a.cel$0");
  EXPECT_EQ(At(0, 0), P(7, 7));
  EXPECT_EQ(At(1, 0), P(0, 0));
}

}  // namespace
}  // namespace tavro
