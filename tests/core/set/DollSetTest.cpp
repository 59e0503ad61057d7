// The set's own operations, on a set made directly: what each keeps consistent and what it
// refuses.
#include <gtest/gtest.h>

#include <vector>

#include "set/DollSet.h"

namespace tavro {
namespace {

CellEntry CelOf(int object, uint16_t setMask = 0xFFFF) {
  CellEntry cell;
  cell.ObjectNumber = static_cast<int16_t>(object);
  cell.SetMask = setMask;
  return cell;
}

TEST(DollSetTest, SlotsAreHandedOutInOrderAndFoundAgainForSmallAndLargeNumbers) {
  DollSet set;
  ASSERT_TRUE(set.MakeTables());
  EXPECT_EQ(set.EnsureSlot(7), 1);
  EXPECT_EQ(set.EnsureSlot(4000000), 2);  // kept aside: the small table does not grow to it
  EXPECT_EQ(set.EnsureSlot(7), 1);
  EXPECT_EQ(set.EnsureSlot(-1), 0);
  EXPECT_EQ(set.SlotOf(4000000), 2);
  EXPECT_EQ(set.SlotOf(8), 0);
  EXPECT_EQ(set.SlotOf(-3), 0);
  EXPECT_EQ(set.SlotToNumber(2), 4000000);
  EXPECT_EQ(set.SlotToNumber(9), 0);
  EXPECT_EQ(set.ObjectCount(), 4000001);
  EXPECT_EQ(set.ObjectTable().size(), 3u);
  EXPECT_EQ(set.ObjectTable()[2].Number, 32767);  // held, not wrapped to a small number
  std::vector<int32_t> numbers;
  set.ForEachObject([&](int32_t number, uint16_t) { numbers.push_back(number); });
  EXPECT_EQ(numbers, (std::vector<int32_t>{7, 4000000}));
}

TEST(DollSetTest, CelsGoIntoTheTableUntilItIsFullAndNeverWithoutOne) {
  DollSet set;
  EXPECT_EQ(set.AddCell(CelOf(0)), -1);  // no table yet
  ASSERT_TRUE(set.MakeTables());
  set.EnsureSlot(0);
  for (int i = 0; i < kMaxCells; ++i) ASSERT_EQ(set.AddCell(CelOf(0)), i);
  EXPECT_EQ(set.AddCell(CelOf(0)), -1);
  EXPECT_EQ(set.CellCount(), kMaxCells);
  set.FreeTables();
  EXPECT_TRUE(set.CellTable().empty());
  EXPECT_EQ(set.SlotOf(0), 0);
}

TEST(DollSetTest, ChangesToCelsAndObjectsOutsideTheTablesChangeNothing) {
  DollSet set;
  ASSERT_TRUE(set.MakeTables());
  const uint16_t slot = set.EnsureSlot(3);
  const int cel = set.AddCell(CelOf(3));
  set.SetCellShown(cel + 1, false);  // a record not counted
  set.SetCellShown(-1, false);
  set.SetCellTransparency(cel, 40000);  // held at the field's top
  set.PlaceObject(0, 5, 5);             // slot 0 is no object
  set.PlaceObject(99, 5, 5);
  set.StoreSetPosition(slot, kSetCount, 1, 1);
  set.StoreSetPosition(slot, 2, 70000, -70000);
  EXPECT_EQ(set.CellTable()[cel + 1].Unmapped, 0);
  EXPECT_EQ(set.CellTable()[cel].Transparency, 32767);
  EXPECT_EQ(set.ObjectTable()[0].X, 0);
  EXPECT_EQ(set.ObjectTable()[slot].SetX[2], 32767);
  EXPECT_EQ(set.ObjectTable()[slot].SetY[2], -32768);
}

TEST(DollSetTest, OnlyValidObjectNumbersTakeACelsExtent) {
  DollSet set;
  ASSERT_TRUE(set.MakeTables());
  set.EnsureSlot(2);
  set.EnsureSlot(1170);
  EXPECT_FALSE(set.WidenExtent(CelOf(1170), 0, 0, 4, 4));
  EXPECT_FALSE(set.WidenExtent(CelOf(5), 0, 0, 4, 4));  // no slot
  EXPECT_TRUE(set.WidenExtent(CelOf(2), 3, 4, 10, 12));
  EXPECT_TRUE(set.WidenExtent(CelOf(2), -2, 6, 8, 20));
  const ObjectEntry& object = set.ObjectTable()[set.SlotOf(2)];
  EXPECT_EQ(object.Flags & kHasExtent, kHasExtent);
  EXPECT_EQ(object.ExtentLeft, -2);
  EXPECT_EQ(object.ExtentTop, 4);
  EXPECT_EQ(object.ExtentRight, 10);
  EXPECT_EQ(object.ExtentBottom, 20);
}

TEST(DollSetTest, APaletteFileFillsTheGroupsItLacksFromItsFirst) {
  DollSet set;
  set.StoreGroupColour(0, 1, 10, 20, 30);
  set.StoreGroupColour(1, 1, 40, 50, 60);
  set.FinishPaletteFile(0, 0, 2, 2);
  const SetPalettes& palettes = set.Palettes();
  EXPECT_EQ(palettes.ColourCount, 2);
  EXPECT_EQ(palettes.GroupCount, 2);
  EXPECT_EQ(palettes.PaletteFileCount, 1);
  EXPECT_EQ(palettes.GroupColour(1, 1).Red, 40);
  EXPECT_EQ(palettes.GroupColour(9, 1).Red, 10);
  EXPECT_EQ(palettes.ColourOfGroup(12, 1).Blue, 30);  // no such group: group 0
  // A later file gives up its colour 0 and starts right after the colours before it.
  set.FinishPaletteFile(1, 2, 300, 1);
  EXPECT_EQ(palettes.PaletteBase[1], 1);
  EXPECT_EQ(palettes.ColourCount, kPaletteColours);
  EXPECT_EQ(palettes.PaletteFileCount, 2);
}

TEST(DollSetTest, PaletteLinesStopAtThirtyTwoAndKeepTheirNames) {
  DollSet set;
  EXPECT_EQ(set.AddPaletteLine("a-name-longer-than-the-field.kcf"), 0);
  EXPECT_STREQ(set.Palettes().PaletteNames[0].data(), "a-name-longer-than-");
  for (int i = 1; i < kMaxPaletteLines; ++i) ASSERT_EQ(set.AddPaletteLine("p.kcf"), i);
  EXPECT_EQ(set.AddPaletteLine("p.kcf"), -1);
}

TEST(DollSetTest, PlayfieldSizeIsBoundedAndKeptForNonsense) {
  DollSet set;
  set.SetPlayfieldSize(0, -5);
  EXPECT_EQ(set.PlayfieldWidth(), 448);
  EXPECT_EQ(set.PlayfieldHeight(), 320);
  set.SetPlayfieldSize(5000, 200);
  EXPECT_EQ(set.PlayfieldWidth(), kMaxPlayfieldWidth);
  EXPECT_EQ(set.PlayfieldHeight(), 200);
}

TEST(DollSetTest, TheTextKeepsATerminatingZeroAndAnEmptyTextIsNone) {
  DollSet set;
  set.TakeConfigText({'a', 'b'});
  EXPECT_EQ(set.ConfigTextLength(), 2);
  ASSERT_EQ(set.ConfigText().size(), 3u);
  EXPECT_EQ(set.ConfigText()[2], '\0');
  set.TakeConfigText({});
  EXPECT_TRUE(set.ConfigText().empty());
  EXPECT_EQ(set.ConfigTextLength(), 0);
}

TEST(DollSetTest, LeavingASetKeepsWhatIsShownAndEnteringOnePullsObjectsInside) {
  DollSet set;
  ASSERT_TRUE(set.MakeTables());
  set.SetPlayfieldSize(100, 100);
  const uint16_t shown = set.EnsureSlot(0);
  const uint16_t elsewhere = set.EnsureSlot(1);
  set.AddCell(CelOf(0, 0b11));
  set.AddCell(CelOf(1, 0b10));
  set.WidenExtent(CelOf(0), 0, 0, 30, 30);
  set.StoreSetPosition(shown, 1, 90, 5);  // would hang 20 pixels past the right edge
  set.StoreSetPosition(elsewhere, 0, 7, 7);
  set.EnterSet(0);
  set.PlaceObject(shown, 12, 13);  // dragged in set 0
  set.SetCurrent(0, 3);
  set.LeaveCurrentSet();
  set.EnterSet(1);
  EXPECT_EQ(set.GroupOfSet(0), 3);
  EXPECT_EQ(set.ObjectTable()[shown].SetX[0], 12);
  EXPECT_EQ(set.ObjectTable()[elsewhere].SetX[0], 0);  // not shown in set 0: no position kept
  EXPECT_EQ(set.ObjectTable()[shown].X, 70);
  EXPECT_EQ(set.CurrentSet(), 1);
  set.EnterSet(kSetCount);  // no such set: nothing changes
  EXPECT_EQ(set.CurrentSet(), 1);
}

}  // namespace
}  // namespace tavro
