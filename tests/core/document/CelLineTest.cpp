#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "core/document/LoadFixture.h"

namespace tavro {
namespace {

using CelLineTest = test::LoadFixture;
using Sets = std::vector<int>;

TEST_F(CelLineTest, AFullLineFillsItsCelAndObject) {
  Load("#12.5 shirt.cel *1 :0 1 2\n");
  ASSERT_EQ(doc_.Set().CellCount(), 1);
  const CellEntry& cel = doc_.Set().CellTable()[0];
  EXPECT_STREQ(cel.FileName, "shirt.cel");
  EXPECT_EQ(cel.ObjectNumber, 12);
  EXPECT_EQ(cel.PaletteNumber, 1);
  EXPECT_EQ(cel.Transparency, 0);
  EXPECT_EQ(SetsInUse(), (Sets{0, 1, 2}));
  EXPECT_EQ(doc_.Set().ObjectCount(), 13);
  EXPECT_EQ(doc_.Set().SlotOf(12), 1);
  EXPECT_EQ(Object(12).Number, 12);
  EXPECT_EQ(Object(12).FixTotal, 5);
  EXPECT_EQ(Object(12).FixRemaining, 5);
  EXPECT_FALSE(doc_.Map().TrueColourMode());
}

TEST_F(CelLineTest, SlotsFollowFirstAppearanceAndGapsHaveNone) {
  Load("#7 a.cel\n#0 b.cel\n#3 c.cel\n#7 d.cel\n");
  EXPECT_EQ(doc_.Set().CellCount(), 4);
  EXPECT_EQ(doc_.Set().ObjectCount(), 8);
  EXPECT_EQ(doc_.Set().SlotOf(7), 1);
  EXPECT_EQ(doc_.Set().SlotOf(0), 2);
  EXPECT_EQ(doc_.Set().SlotOf(3), 3);
  for (int gap : {1, 2, 4, 5, 6}) EXPECT_EQ(doc_.Set().SlotOf(gap), 0) << gap;
  std::vector<int> visited;
  doc_.Set().ForEachObject([&](int32_t number, uint16_t) { visited.push_back(number); });
  EXPECT_EQ(visited, (std::vector<int>{0, 3, 7}));
  EXPECT_EQ(doc_.Set().CellTable()[3].ObjectNumber, 7);
}

TEST_F(CelLineTest, FixValuesAddUpPerObjectAndNeverGoNegative) {
  Load("#4.2 a.cel\n#4.3 b.cel\n#5.-3 c.cel\n#6. d.cel\n#7.30000 e.cel\n#7.30000 f.cel\n");
  EXPECT_EQ(Object(4).FixTotal, 5);
  EXPECT_EQ(Object(4).FixRemaining, 5);
  EXPECT_EQ(Object(5).FixTotal, 0);  // a minus sign counts as no fix value
  EXPECT_EQ(Object(6).FixTotal, 0);
  EXPECT_STREQ(doc_.Set().CellTable()[3].FileName, "d.cel");  // a bare '.' still leaves the name
  // 60,000 does not fit 16 bits; it must stay a large fix, not wrap into a negative one.
  EXPECT_EQ(Object(7).FixTotal, 32767);
  EXPECT_EQ(Object(7).FixRemaining, 32767);
}

TEST_F(CelLineTest, LinesWithoutAUsableObjectNumberAreIgnoredSilently) {
  Load("# 3 a.cel\n#-2 b.cel\n#x c.cel\n#\n");
  EXPECT_EQ(doc_.Set().CellCount(), 0);
  EXPECT_EQ(doc_.Set().ObjectCount(), 0);
  EXPECT_TRUE(LoadMessages().empty());
  EXPECT_FALSE(doc_.IsSetLoaded());
}

TEST_F(CelLineTest, PaletteNumberKeepsItsLowByte) {
  Load("#0 a.cel *300\n#0 b.cel *-1\n#0 c.cel *\n#0 d.cel *7:1\n");
  EXPECT_EQ(doc_.Set().CellTable()[0].PaletteNumber, 300 & 0xFF);
  EXPECT_EQ(doc_.Set().CellTable()[1].PaletteNumber, 0);
  EXPECT_EQ(doc_.Set().CellTable()[2].PaletteNumber, 0);
  EXPECT_EQ(doc_.Set().CellTable()[3].PaletteNumber, 7);
  EXPECT_EQ(SetsInUse(), (Sets{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));  // the lines without a list
}

TEST_F(CelLineTest, AColonNamingNoSetAddsNoCelButTheObjectCounts) {
  Load("#3 a.cel :\n#1 b.cel :x 2\n");
  EXPECT_EQ(doc_.Set().CellCount(), 0);
  EXPECT_EQ(doc_.Set().ObjectCount(), 4);
  EXPECT_NE(doc_.Set().SlotOf(3), 0);
  EXPECT_NE(doc_.Set().SlotOf(1), 0);
  EXPECT_EQ(SetsInUse(), Sets{});
  EXPECT_TRUE(doc_.IsSetLoaded());  // objects alone are enough to show the set
}

TEST_F(CelLineTest, SetNumbersTenAndAboveNameNoSet) {
  Load("#0 a.cel :20\n#1 b.cel :10 15\n#2 c.cel :35 0x 4\n#3 d.cel :6 -1 7\n");
  EXPECT_EQ(doc_.Set().CellCount(), 4);  // a cel in no set is still counted and loaded
  // 35 is bit 3; the list stops at "x" and at a negative number.
  EXPECT_EQ(SetsInUse(), (Sets{0, 3, 6}));
}

TEST_F(CelLineTest, ACelAfterAnEmptyListTakesTheNextFreeRecord) {
  Load("#3 gone.cel :\n#1 kept.cel :2\n");
  ASSERT_EQ(doc_.Set().CellCount(), 1);
  EXPECT_STREQ(doc_.Set().CellTable()[0].FileName, "kept.cel");
  EXPECT_EQ(doc_.Set().CellTable()[0].ObjectNumber, 1);
}

TEST_F(CelLineTest, TransparencyRemarksSwitchToTrueColour) {
  Load("#0 a.cel :0 ;%T128\n#0 b.cel ;%t50\n#0 c.cel :1 ;%T\n#0 d.cel :1 ; %T9\n");
  EXPECT_EQ(doc_.Set().CellTable()[0].Transparency, 128);
  EXPECT_EQ(doc_.Set().CellTable()[1].Transparency, 50);
  EXPECT_EQ(doc_.Set().CellTable()[2].Transparency, -1);  // a remark without a level
  EXPECT_EQ(doc_.Set().CellTable()[3].Transparency, 0);   // "; %T" is no remark
  EXPECT_TRUE(doc_.Map().TrueColourMode());
}

TEST_F(CelLineTest, TheThirtyTwoBitMarkSwitchesToTrueColourAndOnlyCelsWithPixelsCount) {
  test::Bytes bad = test::EncodeTrueCel(1, 1, 0, 0, {{1, 2, 3, 255}});
  files_.Write("t.cel", bad);
  bad[8] = 0;  // no width: the mark is read, the cel is refused
  files_.Write("bad.cel", bad);
  files_.SolidCel("a.cel", 4, 4, 1);
  files_.SolidCel("b.cel", 4, 4, 2);
  Load("#0 a.cel\n#1 bad.cel\n");
  EXPECT_TRUE(doc_.Map().TrueColourMode());
  EXPECT_EQ(doc_.LastLoad().LoadedCels, 1);
  Load("#0 a.cel\n#1 t.cel\n#2 b.cel\n");
  EXPECT_TRUE(doc_.Map().TrueColourMode());
  EXPECT_EQ(doc_.LastLoad().LoadedCels, 3);
}

TEST_F(CelLineTest, ALineWithoutARemarkLeavesTheColourModeAlone) {
  Load("#0 a.cel :0 ; %T9\n#0 b.cel :0 ;T5\n");
  EXPECT_FALSE(doc_.Map().TrueColourMode());
}

TEST_F(CelLineTest, FileNamesAreCutAfterNineteenBytesAndTheRestIsParsedOn) {
  // The cut leaves "tuvw.cel :1" to be read as palette and set list: neither, so no set list.
  Load("#1 abcdefghijklmnopqrstuvw.cel :1\n");
  ASSERT_EQ(doc_.Set().CellCount(), 1);
  EXPECT_STREQ(doc_.Set().CellTable()[0].FileName, "abcdefghijklmnopqrs");
  EXPECT_EQ(SetsInUse(), (Sets{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
}

TEST_F(CelLineTest, TheCelLineAfterThe1820thIsRefusedWithOneMessage) {
  std::string text;
  for (int i = 0; i < 1825; ++i) text += "#" + std::to_string(i % 50) + " missing.cel :0\n";
  text += "#x\n";  // refused for the count too, before its number is even looked at
  Load(text);
  EXPECT_EQ(doc_.Set().CellCount(), kMaxCells);
  EXPECT_NE(doc_.LastLoad().Errors & kErrTooManyCells, 0);
  EXPECT_EQ(LoadMessages(), (std::vector<std::string>{"too many cells and ignored",
                                                      "can't load cell file and ignored"}));
  EXPECT_EQ(doc_.Set().ObjectCount(), 50);
}

TEST_F(CelLineTest, HugeObjectNumbersCountWithoutGrowingTheSlotIndex) {
  Load("#4000000000 a.cel :0\n#65536 b.cel :1\n#2 c.cel :2\n$0 1,1 2,2 3,3 * * 9,9\n");
  EXPECT_EQ(doc_.Set().CellCount(), 3);
  EXPECT_EQ(doc_.Set().ObjectCount(), INT32_MAX);  // saturated, not wrapped
  EXPECT_LE(doc_.Set().SlotIndexSize(), static_cast<size_t>(kObjectNumberLimit));
  EXPECT_NE(doc_.Set().SlotOf(INT32_MAX), 0);
  // Neither may pass for a small valid number: the loader rejects numbers of 1170 and more.
  EXPECT_GE(Object(INT32_MAX).Number, kObjectNumberLimit);
  EXPECT_GE(Object(65536).Number, kObjectNumberLimit);
  EXPECT_GE(doc_.Set().CellTable()[1].ObjectNumber, kObjectNumberLimit);
  EXPECT_EQ(doc_.Set().SlotOf(0), 0);  // 65536 did not wrap onto object 0
  EXPECT_EQ(Object(2).SetX[0], 3);     // the set line ran over the gaps up to object 2
  EXPECT_NE(doc_.LastLoad().Errors & (kErrBadCell | kErrCelNotLoadable), 0);
}

TEST_F(CelLineTest, LoadedCelsKeepTheSetMaskOfTheirList) {
  files_.SolidCel("a.cel", 2, 2, 1);
  Load("#0 a.cel :1 3\n#0 a.cel\n#0 a.cel :20\n#0 a.cel :3 35 10\n");
  ASSERT_EQ(doc_.Set().CellCount(), 4);
  EXPECT_EQ(doc_.Set().CellTable()[0].SetMask, 0x000A);
  EXPECT_EQ(doc_.Set().CellTable()[1].SetMask, 0xFFFF);
  EXPECT_EQ(doc_.Set().CellTable()[2].SetMask, 0x0000);
  EXPECT_EQ(doc_.Set().CellTable()[3].SetMask, 0x0408);
  EXPECT_EQ(doc_.LastLoad().Errors, 0);
}

TEST_F(CelLineTest, HugeObjectNumbersAreBadCellsEvenWhenTheFileIsThere) {
  files_.SolidCel("a.cel", 2, 2, 1);
  Load("#4000000000 a.cel\n#65536 a.cel\n#0 a.cel\n");
  EXPECT_EQ(doc_.LastLoad().Errors, kErrBadCell);
  EXPECT_EQ(doc_.LastLoad().LoadedCels, 1);
  EXPECT_EQ(LoadMessages(), std::vector<std::string>{"bad cell and ignored"});
}

TEST_F(CelLineTest, ACelSeesOnlyThePlayfieldSizeGivenBeforeIt) {
  files_.SolidCel("wide.cel", 600, 10, 1);
  Load("#0 wide.cel\n(640,480\n#1 wide.cel\n");
  EXPECT_EQ(doc_.Set().CellTable()[0].SetMask, 0);       // 600 > 448 when its line was read
  EXPECT_EQ(doc_.Set().CellTable()[1].SetMask, 0xFFFF);  // the size line came first
  EXPECT_EQ(LoadMessages(), std::vector<std::string>{"too large cell and ignored"});
}

}  // namespace
}  // namespace tavro
