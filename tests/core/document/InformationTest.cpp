#include <gtest/gtest.h>

#include "core/document/HandBuiltSet.h"
#include "document/SetQueries.h"

namespace tavro {
namespace {

class InformationTest : public ::testing::Test, protected test::HandBuiltSet {
 protected:
  void UseText(const std::string& text) { Build.Text(text); }
};

TEST_F(InformationTest, DefaultPlayfieldAndWhatIsInUse) {
  // Each loaded cel's block is one byte longer than its pixels: 2049 + 1024 bytes.
  AddCel(1, 64, 32, std::vector<uint8_t>(64 * 32, 1));
  AddCel(1, 31, 33, std::vector<uint8_t>(31 * 33, 1));
  Build.AddUnloadedCel(2);  // a cel that did not load: no pixels, no sets
  Build.Slot(6);            // a slot without any loaded cel
  Build.PaletteFileCount(2);
  Build.ColourCount(32);
  EXPECT_EQ(Doc.InformationText(),
            "map size : 448 x 320\n"
            "used memory (MAP) : 140 Kbytes\n"
            "used memory (CEL) : 3 Kbytes\n"
            "used cells : 2\n"
            "used objects : 1\n"
            "used palette : 2 files 32 colors\n");
}

TEST_F(InformationTest, InspectionListsOrdinalsOfAllCelLinesAndTheirComments) {
  UseText(
      "%pal.kcf\n"
      "#0 a.cel ;zero\n"
      "#1 b.cel\n"
      "; a comment line is not counted\n"
      "#2 c.cel\n"
      "# 3 not an object number\n"
      "#9 d.cel\n"
      "#3.5 e.cel *1 :0 1 ;%t128 the shirt\r\n"
      "#4 f.cel\n"
      "#3 g.cel :2\n"
      "#3 h.cel ;no line feed, never read");
  std::string text = "before:";
  DescribeObjectCells(Doc.Set(), 3, text);
  EXPECT_EQ(text, "before:5 : %t128 the shirt\n7 : \n");
  std::string none;
  DescribeObjectCells(Doc.Set(), 8, none);
  EXPECT_EQ(none, "");
}

TEST_F(InformationTest, InspectionTextStopsAtWholeLinesWithinItsRoom) {
  std::string config;
  for (int i = 0; i < 100; ++i) config += "#3 a.cel ;a comment of some twenty\n";
  UseText(config);
  std::string text;
  DescribeObjectCells(Doc.Set(), 3, text);
  auto entry = [](int k) { return std::to_string(k) + " : a comment of some twenty\n"; };
  std::string expected;
  int k = 0;
  while (expected.size() + entry(k).size() <= 1023) expected += entry(k++);
  EXPECT_EQ(text, expected);
  EXPECT_LT(k, 100);
}

TEST_F(InformationTest, InspectionReadsWithAReaderOfItsOwnAndChangesNothing) {
  UseText("#3 a.cel\n");
  const CTavroDoc& shown = Doc;  // inspecting needs no document it may change
  std::string first, second;
  DescribeObjectCells(shown.Set(), 3, first);
  DescribeObjectCells(shown.Set(), 3, second);
  EXPECT_EQ(first, "0 : \n");
  EXPECT_EQ(second, first);
}

class AdjustObjectsTest : public ::testing::Test, protected test::HandBuiltSet {
 protected:
  void SetUp() override {
    AddSquare(1, 4, 0b0111);  // sets 0, 1 and 2
    Build.StorePosition(1, 0, 10, 20);
    Build.StorePosition(1, 1, 50, 60);
    Build.StorePosition(1, 2, 70, 80);
  }
};

TEST_F(AdjustObjectsTest, FromTheHomeSetThePositionGoesToTheOtherSets) {
  Place(1, 15, 25);  // moved in set 0
  Doc.AdjustObjects();
  const ObjectEntry& o = Object(1);
  EXPECT_EQ(o.X, 15);
  EXPECT_EQ(o.Y, 25);
  for (int s : {0, 1, 2}) {
    EXPECT_EQ(o.SetX[s], 15) << s;
    EXPECT_EQ(o.SetY[s], 25) << s;
  }
  EXPECT_EQ(o.SetX[3], 0);
  EXPECT_EQ(Host.Repaints.size(), 1u);
}

TEST_F(AdjustObjectsTest, FromAnotherSetTheObjectJumpsHome) {
  Build.Current(1, Doc.Set().CurrentGroup());
  Place(1, 55, 65);  // moved in set 1
  Doc.AdjustObjects();
  const ObjectEntry& o = Object(1);
  EXPECT_EQ(o.X, 10);
  EXPECT_EQ(o.Y, 20);
  for (int s : {0, 1, 2}) EXPECT_EQ(o.SetX[s], 10) << s;
  EXPECT_EQ(Doc.Set().CurrentSet(), 1);
}

TEST_F(AdjustObjectsTest, ObjectsOutsideTheShownSetKeepTheirPositions) {
  AddSquare(2, 4, 0b1100);  // sets 2 and 3
  Build.StorePosition(2, 2, 30, 0);
  Build.StorePosition(2, 3, 40, 0);
  Doc.AdjustObjects();
  EXPECT_EQ(Object(2).SetX[3], 40);
}

TEST_F(AdjustObjectsTest, RaisesTheSetEventOnce) {
  ASSERT_TRUE(ScriptsRun());
  BindDebug(11, 0, "set 0");
  Doc.AdjustObjects();
  EXPECT_EQ(Host.MessageTexts(), (std::vector<std::string>{"set 0"}));
}

}  // namespace
}  // namespace tavro
