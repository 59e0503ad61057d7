#include <gtest/gtest.h>

#include "core/document/HandBuiltSet.h"
#include "document/SetQueries.h"

namespace tavro {
namespace {

class PickingTest : public ::testing::Test, protected test::HandBuiltSet {};

TEST_F(PickingTest, EarlierCelLineWinsAndTransparentPixelsLetTheClickThrough) {
  // Object 4's cel comes first, so it lies on top of object 2's larger cel; its top-left pixel
  // is transparent.
  const int upper = AddCel(4, 2, 2, {0, 5, 5, 5});
  const int lower = AddSquare(2, 10);
  Place(4, 20, 20);
  Place(2, 15, 15);

  EXPECT_EQ(HitTest(Doc.Set(), Doc.Pointer(), 21, 20), 4);
  EXPECT_EQ(Doc.Pointer().LastHitCell(), upper);
  EXPECT_EQ(HitTest(Doc.Set(), Doc.Pointer(), 20, 20), 2);
  EXPECT_EQ(Doc.Pointer().LastHitCell(), lower);
  EXPECT_EQ(HitTest(Doc.Set(), Doc.Pointer(), 14, 14), -1);
  EXPECT_EQ(HitTest(Doc.Set(), Doc.Pointer(), 25, 25), -1);  // right and bottom edges are outside
  EXPECT_EQ(HitTest(Doc.Set(), Doc.Pointer(), 24, 24), 2);
}

TEST_F(PickingTest, RowsAreStoredBottomUpAndOffsetsShiftTheCel) {
  // Only the bottom-right pixel is opaque, in a cel offset by (3, 1) inside its object.
  AddCel(1, 2, 2, {0, 0, 0, 7}, 0xFFFF, 3, 1);
  Place(1, 100, 50);
  EXPECT_EQ(HitTest(Doc.Set(), Doc.Pointer(), 104, 52), 1);
  EXPECT_EQ(HitTest(Doc.Set(), Doc.Pointer(), 103, 51), -1);
  EXPECT_EQ(HitTest(Doc.Set(), Doc.Pointer(), 104, 51), -1);
}

TEST_F(PickingTest, HiddenOutOfSetAndPixellessCelsAreNeverPicked) {
  const int hidden = AddSquare(1, 4);
  AddSquare(2, 4, 0x0002);  // set 1 only; its object is not in set 0
  const int broken = AddSquare(3, 4);
  AddSquare(5, 4);  // underneath all of them
  for (int n : {1, 2, 3, 5}) Place(n, 0, 0);
  Build.Show(hidden, false);
  Build.Pixels(broken, {});
  EXPECT_EQ(HitTest(Doc.Set(), Doc.Pointer(), 1, 1), 5);
}

TEST_F(PickingTest, TrueColourCelsAreOpaqueWhereAnyColourByteIsSet) {
  // Blue, green, red, alpha: alpha plays no part, black is transparent.
  AddCel(1, 3, 1, {0, 0, 0, 255, 0, 9, 0, 0, 0, 0, 1, 0}, 0xFFFF, 0, 0, 24);
  Place(1, 0, 0);
  EXPECT_EQ(HitTest(Doc.Set(), Doc.Pointer(), 0, 0), -1);
  EXPECT_EQ(HitTest(Doc.Set(), Doc.Pointer(), 1, 0), 1);
  EXPECT_EQ(HitTest(Doc.Set(), Doc.Pointer(), 2, 0), 1);
}

TEST_F(PickingTest, InspectionReturnsNumberPlusOneAndLeavesTheDragAlone) {
  AddSquare(0, 4);
  AddSquare(7, 4);
  Place(0, 0, 0);
  Place(7, 10, 10);
  const MapRect bounds = Doc.Pointer().Bounds();
  PointAt(11, 11);
  EXPECT_EQ(Doc.PickObject(CTavroDoc::PickPurpose::Inspect), 8);
  PointAt(1, 1);
  EXPECT_EQ(Doc.PickObject(CTavroDoc::PickPurpose::Inspect),
            1);  // object 0 is told apart from nothing
  PointAt(200, 200);
  EXPECT_EQ(Doc.PickObject(CTavroDoc::PickPurpose::Inspect), 0);
  EXPECT_EQ(Doc.Pointer().Bounds(), bounds);
  EXPECT_EQ(Doc.Pointer().HeldSlot(), 0);

  std::string caption, text;
  PointAt(12, 12);
  EXPECT_TRUE(Doc.InspectAtPointer(caption, text));
  EXPECT_EQ(caption, "Object No.7");
  PointAt(300, 300);
  EXPECT_FALSE(Doc.InspectAtPointer(caption, text));
}

TEST_F(PickingTest, PointerIsClampedToTheBounds) {
  PointAt(-9, 5000);
  EXPECT_EQ(Doc.Pointer().X(), 0);
  EXPECT_EQ(Doc.Pointer().Y(), 319);
}

TEST_F(PickingTest, SlotToNumberFindsTheLowestNumberOfASlot) {
  AddSquare(9, 2);
  AddSquare(3, 2);
  EXPECT_EQ(Doc.Set().SlotToNumber(Doc.Set().SlotOf(3)), 3);
  EXPECT_EQ(Doc.Set().SlotToNumber(Doc.Set().SlotOf(9)), 9);
  EXPECT_EQ(Doc.Set().SlotToNumber(42), 0);
  EXPECT_EQ(Doc.Set().SlotToNumber(0), 0);
}

}  // namespace
}  // namespace tavro
