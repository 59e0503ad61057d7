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

// Window to map and back, through one geometry: a map rectangle shows where its pixels are, and
// the window point at its top left corner is that map point again.
TEST(Geometry, ConvertsBothWays) {
  struct Case {
    const char* Name;
    int32_t Zoom;
    ScrollPos Scroll;
    MapRect Map;
    WindowRect Window;
  };
  const Case cases[] = {
      {"unzoomed", 1, {0, 0}, {7, 9, 17, 19}, {7, 9, 17, 19}},
      {"zoomed and scrolled", 2, {6, 4}, {10, 10, 23, 22}, {14, 16, 40, 40}},
      {"scrolled past whole map pixels", 3, {5, 40}, {5, 20, 6, 21}, {10, 20, 13, 23}},
  };
  for (const Case& c : cases) {
    const ViewGeometry geometry(c.Zoom, c.Scroll, {150, 120});
    EXPECT_EQ(geometry.WindowRectOf(c.Map), c.Window) << c.Name;
    EXPECT_EQ(geometry.MapPointAt({c.Window.Left, c.Window.Top}), (MapPoint{c.Map.Left, c.Map.Top}))
        << c.Name;
    // Every window pixel of a map pixel is that map pixel.
    EXPECT_EQ(geometry.MapPointAt({c.Window.Left + c.Zoom - 1, c.Window.Top + c.Zoom - 1}),
              (MapPoint{c.Map.Left, c.Map.Top}))
        << c.Name;
  }
}

TEST(Geometry, WindowRectanglesAreCutToTheClientArea) {
  const ViewGeometry geometry(2, {0, 0}, {150, 120});
  EXPECT_EQ(geometry.WindowRectOf({70, 0, 100, 10}), (WindowRect{140, 0, 150, 20}));
  EXPECT_TRUE(geometry.WindowRectOf({80, 0, 90, 10}).IsEmpty()) << "right of the window";
  EXPECT_TRUE(geometry.WindowRectOf({}).IsEmpty());
  // Past the window's left edge while the button is held: truncated toward zero, as ever.
  EXPECT_EQ(geometry.MapPointAt({-3, -1}), (MapPoint{-1, 0}));
  EXPECT_EQ(geometry.VisibleMap(), (MapRect{0, 0, 75, 60}));
  EXPECT_EQ(ViewGeometry(2, {20, 0}, {100, 80}).VisibleMap(), (MapRect{10, 0, 60, 40}));
}

// A held object is followed by its step, enlarged, only past the visible edge it moves toward.
TEST(Geometry, FollowsAHeldObjectPastTheEdgeItMovesToward) {
  struct Case {
    const char* Name;
    ScrollPos Scroll;
    MapRect Box;
    int32_t StepX;
    int32_t StepY;
    ScrollPos Expected;
  };
  // Zoom 2 in 100 x 80: 50 x 40 map pixels visible.
  const Case cases[] = {
      {"past the right edge, moving right", {0, 0}, {43, 30, 53, 40}, 5, 0, {10, 0}},
      {"past the right edge, moving left", {0, 0}, {43, 30, 53, 40}, -1, 0, {0, 0}},
      {"within the visible part", {0, 0}, {10, 10, 20, 20}, 5, 5, {0, 0}},
      {"past the top, moving up", {0, 40}, {10, 15, 20, 25}, 0, -3, {0, 34}},
      {"past the left and the bottom, moving both ways", {20, 0}, {5, 35, 15, 45}, -2, 1, {16, 2}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ViewGeometry(2, c.Scroll, {100, 80}).FollowHeldObject(c.Box, c.StepX, c.StepY),
              c.Expected)
        << c.Name;
  }
}

TEST(MapDraw, WidensTheClipToWholeMapPixels) {
  const MapDrawPlan plan = ViewGeometry(3, {0, 0}, {300, 300}).PlanDraw({4, 0, 11, 3}, kPlayfield);
  ASSERT_TRUE(plan.Draws);
  EXPECT_EQ(plan.Target, (WindowRect{3, 0, 12, 3}));
  EXPECT_EQ(plan.Source, (MapRect{1, 0, 4, 1}));
  // Scrolled by part of a map pixel, the copy starts at the pixel the window's edge cuts.
  const MapDrawPlan scrolled =
      ViewGeometry(3, {4, 0}, {300, 300}).PlanDraw({0, 0, 5, 3}, kPlayfield);
  ASSERT_TRUE(scrolled.Draws);
  EXPECT_EQ(scrolled.Target, (WindowRect{-1, 0, 5, 3}));
  EXPECT_EQ(scrolled.Source, (MapRect{1, 0, 3, 1}));
}

TEST(MapDraw, CutsAtThePictureAndSkipsClipsOutsideIt) {
  const ViewGeometry geometry(2, {0, 0}, {1000, 700});
  const MapDrawPlan plan = geometry.PlanDraw({800, 600, 1000, 700}, kPlayfield);
  ASSERT_TRUE(plan.Draws);
  EXPECT_EQ(plan.Target, (WindowRect{800, 600, 896, 640}));
  EXPECT_EQ(plan.Source, (MapRect{400, 300, 448, 320}));
  EXPECT_FALSE(geometry.PlanDraw({896, 0, 1000, 10}, kPlayfield).Draws);
  EXPECT_FALSE(geometry.PlanDraw({0, 640, 10, 700}, kPlayfield).Draws);
  EXPECT_FALSE(geometry.PlanDraw({0, 0, 10, 10}, {0, 0}).Draws);
}

TEST(Background, StripsRightAndBelowThePicture) {
  // 448 x 320 at zoom 2 in 1000 x 600: a strip from x 896 over the full height, none below.
  const auto strips = ViewGeometry(2, {0, 0}, {1000, 600}).BackgroundStrips(kPlayfield);
  ASSERT_EQ(strips.size(), 1u);
  EXPECT_EQ(strips[0], (WindowRect{896, 0, 1000, 600}));
  // Nothing loaded: the whole client area.
  const auto empty = ViewGeometry(1, {0, 0}, {300, 200}).BackgroundStrips({0, 0});
  ASSERT_EQ(empty.size(), 2u);
  EXPECT_EQ(empty[0], (WindowRect{0, 0, 300, 200}));
  EXPECT_EQ(empty[1], (WindowRect{0, 0, 300, 200}));
  // A picture that fills the window leaves no strip.
  EXPECT_TRUE(ViewGeometry(2, {100, 40}, {796, 600}).BackgroundStrips(kPlayfield).empty());
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
