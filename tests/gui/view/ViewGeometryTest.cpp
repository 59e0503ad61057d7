#include <gtest/gtest.h>

#include "gui/view/ViewGeometry.h"

namespace tavro {
namespace {

constexpr ViewSize kPlayfield{448, 320};

TEST(ZoomScroll, KeepsTheCentreWhereTheContentAllows) {
  // Window 200 x 160 centred on map point (100, 80) at zoom 1: scroll (0, 0).
  const ScrollPos atTwo = ZoomScrollTarget({200, 160}, {0, 0}, 1, 2, kPlayfield);
  EXPECT_EQ(atTwo, (ScrollPos{100, 80}));  // centre (200, 160) / 2 = map (100, 80)
  // And back: the centre (200, 160) at zoom 2 is map (100, 80) again.
  EXPECT_EQ(ZoomScrollTarget({200, 160}, atTwo, 2, 1, kPlayfield), (ScrollPos{0, 0}));
}

TEST(ZoomScroll, NearTheFarEdgeTheContentEdgeMeetsTheWindowEdge) {
  // Scrolled to the bottom right at zoom 2: the centre is map (398, 280). At zoom 1 that centre
  // would leave the window past the content, so the content's far edge lands on the window's.
  EXPECT_EQ(ZoomScrollTarget({200, 160}, {696, 480}, 2, 1, kPlayfield), (ScrollPos{248, 160}));
  // Zooming in from there keeps the centre: 398 * 3 - 100, 280 * 3 - 80.
  EXPECT_EQ(ZoomScrollTarget({200, 160}, {696, 480}, 2, 3, kPlayfield), (ScrollPos{1094, 760}));
}

TEST(ZoomScroll, NeverNegative) {
  // Window larger than the content: every candidate position would be negative.
  EXPECT_EQ(ZoomScrollTarget({1000, 800}, {0, 0}, 1, 2, kPlayfield), (ScrollPos{0, 0}));
  EXPECT_EQ(ZoomScrollTarget({1000, 800}, {0, 0}, 2, 1, kPlayfield), (ScrollPos{0, 0}));
  EXPECT_EQ(ZoomScrollTarget({300, 300}, {0, 0}, 3, 1, kPlayfield), (ScrollPos{0, 0}));
  // Zooming out from a far scroll position into a content smaller than the window.
  EXPECT_EQ(ZoomScrollTarget({500, 400}, {4000, 4000}, 16, 1, kPlayfield), (ScrollPos{0, 0}));
}

TEST(ArrowScroll, MovesByATenthWithinTheRange) {
  const ViewSize total{896, 300};  // wider than the window, not higher
  const ViewSize client{400, 400};
  EXPECT_EQ(ArrowScrollTarget(ArrowKey::Right, client, {0, 0}, total), (ScrollPos{89, 0}));
  EXPECT_EQ(ArrowScrollTarget(ArrowKey::Left, client, {50, 0}, total), (ScrollPos{0, 0}));
  EXPECT_EQ(ArrowScrollTarget(ArrowKey::Down, client, {0, 0}, total), (ScrollPos{0, 0}));
  EXPECT_EQ(ArrowScrollTarget(ArrowKey::Right, client, {490, 0}, total), (ScrollPos{496, 0}));
  // Nothing can scroll when the window holds the whole content.
  EXPECT_EQ(ArrowScrollTarget(ArrowKey::Right, {1000, 1000}, {0, 0}, total), (ScrollPos{0, 0}));
  EXPECT_EQ(ArrowScrollTarget(ArrowKey::Down, {10, 10}, {0, 0}, {1, 1}), (ScrollPos{0, 0}));
}

TEST(MapDraw, WidensTheClipToWholeMapPixels) {
  const MapDrawPlan plan = PlanMapDraw({4, 0, 11, 3}, 3, kPlayfield);
  ASSERT_TRUE(plan.draws);
  EXPECT_EQ(plan.target, (MapRect{3, 0, 12, 3}));
  EXPECT_EQ(plan.source, (MapRect{1, 0, 4, 1}));
}

TEST(MapDraw, CutsAtThePictureAndSkipsClipsOutsideIt) {
  const MapDrawPlan plan = PlanMapDraw({800, 600, 1000, 700}, 2, kPlayfield);
  ASSERT_TRUE(plan.draws);
  EXPECT_EQ(plan.target, (MapRect{800, 600, 896, 640}));
  EXPECT_EQ(plan.source, (MapRect{400, 300, 448, 320}));
  EXPECT_FALSE(PlanMapDraw({896, 0, 1000, 10}, 2, kPlayfield).draws);
  EXPECT_FALSE(PlanMapDraw({0, 640, 10, 700}, 2, kPlayfield).draws);
  EXPECT_FALSE(PlanMapDraw({0, 0, 10, 10}, 0, kPlayfield).draws);
  EXPECT_FALSE(PlanMapDraw({0, 0, 10, 10}, 1, {0, 0}).draws);
}

TEST(Background, StripsRightAndBelowThePicture) {
  // 448 x 320 at zoom 2 in 1000 x 600: a strip from x 896 over the full height, none below.
  const auto strips = BackgroundStrips({896, 640}, {0, 0}, {1000, 600});
  ASSERT_EQ(strips.size(), 1u);
  EXPECT_EQ(strips[0], (MapRect{896, 0, 1000, 600}));
  // Nothing loaded: the whole client area.
  const auto empty = BackgroundStrips({0, 0}, {0, 0}, {300, 200});
  ASSERT_EQ(empty.size(), 2u);
  EXPECT_EQ(empty[0], (MapRect{0, 0, 300, 200}));
  EXPECT_EQ(empty[1], (MapRect{0, 0, 300, 200}));
  // A picture that fills the window leaves no strip.
  EXPECT_TRUE(BackgroundStrips({896, 640}, {100, 40}, {796, 600}).empty());
}

TEST(FrameFit, ContentPlusChromeHeldOnTheScreen) {
  EXPECT_EQ(FitFrameSize({448, 320}, {8, 60}, {1280, 1024}), (ViewSize{456, 380}));
  // Too big for what is left of the screen right of and below the frame's corner.
  EXPECT_EQ(FitFrameSize({1280 * 2, 1024 * 2}, {8, 60}, {1180, 924}), (ViewSize{1180, 924}));
  // Exactly reaching the edge is cut too: the frame never touches past it.
  EXPECT_EQ(FitFrameSize({1272, 964}, {8, 60}, {1280, 1024}), (ViewSize{1280, 1024}));
}

}  // namespace
}  // namespace tavro
