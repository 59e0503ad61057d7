// The pointer and drag state on its own: no document, no set.
#include <gtest/gtest.h>

#include "interaction/PointerState.h"

namespace tavro {
namespace {

// Clamping through the document is checked with picking; here what only the state itself
// decides.
TEST(PointerStateTest, BoundsAreInclusive) {
  PointerState pointer;
  pointer.SetBounds(2, 3, 10, 20);
  EXPECT_EQ(pointer.Bounds(), (MapRect{2, 3, 11, 22}));
  pointer.MoveWithin(11, 30);
  EXPECT_EQ(pointer.X(), 11);
  EXPECT_EQ(pointer.Y(), 22);
}

TEST(PointerStateTest, ADragStartsAtThePointerAndFollowsItsSteps) {
  PointerState pointer;
  EXPECT_EQ(pointer.HeldSlot(), 0);
  EXPECT_EQ(pointer.LastHitCell(), -1);
  pointer.MoveTo(40, 50);
  pointer.Hold(3);
  pointer.StartDrag();
  pointer.Advance(2, -1);
  pointer.Advance(1, 1);
  EXPECT_EQ(pointer.HeldSlot(), 3);
  EXPECT_EQ(pointer.StartX(), 40);
  EXPECT_EQ(pointer.StartY(), 50);
  EXPECT_EQ(pointer.LastX(), 43);
  EXPECT_EQ(pointer.LastY(), 50);
}

TEST(PointerStateTest, KeysGoToTheKeySequenceItIsGiven) {
  FixOverrideState own;
  PointerState pointer;
  pointer.UseFixOverride(&own);
  for (const char key : {'Z', 'O', 'R', 'V', 'E'}) pointer.FeedFixOverrideKey(key);
  EXPECT_TRUE(own.Active());
  EXPECT_TRUE(pointer.FixOverride().Active());
  EXPECT_EQ(&PointerState().FixOverride(), &ProcessFixOverride());
}

}  // namespace
}  // namespace tavro
