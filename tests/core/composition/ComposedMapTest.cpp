// The composed map on its own, and the composer drawing into a map the test owns.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "composition/ComposedMap.h"
#include "composition/Composer.h"
#include "core/composition/ComposerFixture.h"

namespace tavro::test {
namespace {

ComposedMap MapOf(int32_t width, int32_t height, bool trueColour) {
  ComposedMap map;
  map.SetSize(width, height);
  map.SetTrueColourMode(trueColour);
  map.Allocate(trueColour);
  return map;
}

TEST(ComposedMapTest, AllocatesItsFormAndSaysWhenItIsComplete) {
  ComposedMap map = MapOf(8, 3, false);
  EXPECT_EQ(map.Bytes().size(), 8u * 3 + 1);  // and the spare byte
  EXPECT_EQ(map.BytesPerPixel(), 1);
  EXPECT_TRUE(map.IsComplete(5, 3));
  EXPECT_FALSE(map.IsComplete(9, 3));  // wider than the stride
  EXPECT_FALSE(map.IsComplete(5, 4));
  EXPECT_FALSE(map.IsComplete(0, 3));

  map.Allocate(true);
  EXPECT_EQ(map.Bytes().size(), 8u * 3 * 4 + 1);
  EXPECT_EQ(map.Format(), PixelFormat::Rgbx32);
  EXPECT_EQ(map.BytesPerPixel(), 4);
  EXPECT_TRUE(map.IsComplete(5, 3));
  EXPECT_EQ(map.Row(2) - map.Row(0), 2 * 8 * 4);
  // Opaque black until composed: the display and the page take the fourth byte as it is.
  EXPECT_EQ(map.Row(1)[4 * 7 + 3], 255);
  EXPECT_EQ(map.Row(1)[4 * 7 + 2], 0);
  map.SetSize(5, 4);  // a size the pixels held do not have yet
  EXPECT_EQ(map.Stride(), 8);
  EXPECT_FALSE(map.IsComplete(5, 4));

  map.SetSize(-5, 3);  // no map rather than a negative allocation
  map.Allocate(false);
  EXPECT_TRUE(map.Empty());
}

TEST(ComposedMapTest, AMapOfAnotherFormIsNeverDrawnInto) {
  ComposedMap map = MapOf(8, 3, false);
  EXPECT_NE(map.DrawingView(8, 3).Pixels, nullptr);
  EXPECT_EQ(map.DrawingView(6, 2).Area, (MapRect{0, 0, 6, 2}));
  map.SetTrueColourMode(true);  // asked for, not yet allocated
  EXPECT_EQ(map.DrawingView(8, 3).Pixels, nullptr);
  map.Allocate(true);
  EXPECT_NE(map.DrawingView(8, 3).Pixels, nullptr);
  EXPECT_EQ(map.DrawingView(8, 3).BytesPerPixel, 4);
  map.SetSize(8, 4);
  EXPECT_EQ(map.DrawingView(8, 3).Pixels, nullptr);
}

TEST(ComposedMapTest, DirtyAreaGathersUntilTaken) {
  ComposedMap map;
  EXPECT_FALSE(map.Dirty());
  map.MarkDirty({});  // dirty, though nothing is known to have changed
  EXPECT_TRUE(map.Dirty());
  EXPECT_TRUE(map.DirtyArea().IsEmpty());
  map.MarkDirty({1, 1, 2, 2});
  map.MarkDirty({4, 0, 5, 1});
  EXPECT_EQ(map.TakeDirtyArea(), (MapRect{1, 0, 5, 2}));
  EXPECT_FALSE(map.Dirty());
  EXPECT_TRUE(map.DirtyArea().IsEmpty());
}

TEST(ComposedMapTest, SpansBecomeRectanglesWithoutOverflow) {
  EXPECT_EQ(compose::RectOfSpan(1, 2, 3, 4), (MapRect{1, 2, 4, 6}));
  EXPECT_TRUE(compose::RectOfSpan(1, 2, 0, 4).IsEmpty());
  EXPECT_TRUE(compose::RectOfSpan(1, 2, 3, -4).IsEmpty());
  EXPECT_EQ(compose::RectOfSpan(INT32_MAX - 1, INT32_MIN, INT32_MAX, 1),
            (MapRect{INT32_MAX - 1, INT32_MIN, INT32_MAX, INT32_MIN + 1}));
}

class ComposeIntoOwnMapTest : public ComposerFixture {};

TEST_F(ComposeIntoOwnMapTest, TheComposerDrawsOnlyIntoTheMapItIsGiven) {
  Playfield(6, 2);
  AddCel(0, 2, 2, {5, 5, 5, 0});
  PlaceEverywhere(0, 1, 0);
  ShowSet(0);
  const std::vector<uint8_t> documentMap = doc_.Map().Bytes();

  ComposedMap own = MapOf(8, 2, false);
  compose::ComposeRect(doc_.Set(), own, {0, 0, 6, 2}, 0);
  const auto at = [&own](int x, int y) { return own.Row(y)[x]; };
  EXPECT_EQ(at(0, 0), 0);
  EXPECT_EQ(at(1, 0), 5);
  EXPECT_EQ(at(2, 1), 0);  // the cel's hole
  EXPECT_EQ(at(1, 1), 5);
  EXPECT_EQ(doc_.Map().Bytes(), documentMap);

  // Only inside the rectangle, and never past the playfield into the stride's padding.
  std::fill_n(own.MutableBytes(), own.Bytes().size(), uint8_t{9});
  compose::ComposeRect(doc_.Set(), own, {2, 0, 100, 1}, 0);
  EXPECT_EQ(at(1, 0), 9);
  EXPECT_EQ(at(2, 0), 5);
  EXPECT_EQ(at(3, 0), 0);
  EXPECT_EQ(at(5, 0), 0);
  EXPECT_EQ(at(6, 0), 9);
  EXPECT_EQ(at(2, 1), 9);
}

}  // namespace
}  // namespace tavro::test
