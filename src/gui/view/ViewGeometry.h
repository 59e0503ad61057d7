// The arithmetic of the zoomed, scrolled view, kept free of the toolkit so it can be checked
// without a window. Window pixels and map pixels have types of their own, so a rectangle of the
// one cannot be handed where the other is meant; ViewGeometry is the one place that converts
// between them.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/MapRect.h"

namespace tavro {

struct ScrollPos {
  int32_t X = 0;
  int32_t Y = 0;
  bool operator==(const ScrollPos&) const = default;
};

struct ViewSize {
  int32_t Width = 0;
  int32_t Height = 0;
  bool operator==(const ViewSize&) const = default;
};

// A point of the view's client area (its viewport), in window pixels.
struct WindowPoint {
  int32_t X = 0;
  int32_t Y = 0;
  bool operator==(const WindowPoint&) const = default;
};

// A rectangle of the client area in window pixels, right and bottom exclusive.
struct WindowRect {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Right = 0;
  int32_t Bottom = 0;

  bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
  int32_t Width() const { return Right - Left; }
  int32_t Height() const { return Bottom - Top; }
  bool operator==(const WindowRect&) const = default;
};

// A point of the map, in map pixels.
struct MapPoint {
  int32_t X = 0;
  int32_t Y = 0;
  bool operator==(const MapPoint&) const = default;
};

// What one paint copies: `source` in map pixels counted from the top row, drawn enlarged into
// `target`. `draws` is false when the clip lies outside the picture.
struct MapDrawPlan {
  bool Draws = false;
  WindowRect Target;
  MapRect Source;
};

// How the map shows in the window at one moment: each map pixel a square of `zoom` window
// pixels, the picture shifted by the scroll position, seen through a client area of `client`.
class ViewGeometry {
 public:
  // A zoom below 1 counts as 1.
  ViewGeometry(int32_t zoom, ScrollPos scroll, ViewSize client);

  // The map point under a window point: (window + scroll) / zoom, truncated toward zero as the
  // pointer has always been tracked. Points outside the picture give points outside the map;
  // the session holds the pointer to where it may go.
  MapPoint MapPointAt(WindowPoint point) const;
  // Where a map rectangle shows, cut to the client area; empty when none of it is visible.
  WindowRect WindowRectOf(const MapRect& rect) const;
  // The part of the map the client area shows, its edges truncated to whole map pixels.
  MapRect VisibleMap() const;

  // What to copy for a paint of the window area `clip` (widened to whole map pixels and cut to
  // the picture) from a playfield of `playfield` map pixels.
  MapDrawPlan PlanDraw(const WindowRect& clip, ViewSize playfield) const;
  // The grey strips right of and below the picture of a playfield of `playfield` map pixels
  // (0 x 0 with nothing loaded: the whole client area).
  std::vector<WindowRect> BackgroundStrips(ViewSize playfield) const;

  // Where to scroll so the view follows a held object that moved by (stepX, stepY) map pixels
  // and now covers `objectBox`: on by the step, enlarged, when the object reaches past the
  // visible part in the direction it moved; else where the view is. Not held to the scroll
  // range: the scroll bars do that.
  ScrollPos FollowHeldObject(const MapRect& objectBox, int32_t stepX, int32_t stepY) const;

 private:
  int32_t zoom_;
  ScrollPos scroll_;
  ViewSize client_;
};

// Farthest scroll position in each direction for a content of `total` seen through `client`.
ScrollPos MaxScroll(ViewSize total, ViewSize client);

// Where to scroll after the zoom factor changes from `oldZoom` to `newZoom`, so that the map
// point under the centre of the client area stays there as far as the content allows.
// Never negative.
ScrollPos ZoomScrollTarget(ViewSize client, ScrollPos scroll, int32_t oldZoom, int32_t newZoom,
                           ViewSize playfield);

enum class ArrowKey { Left, Up, Right, Down };

// One page (a tenth of the content) of arrow-key scrolling, held within the scroll range.
ScrollPos ArrowScrollTarget(ArrowKey key, ViewSize client, ScrollPos scroll, ViewSize total);

// The outer frame size that shows `content` with the frame's chrome around it, held so the
// frame's right and bottom edges stay on the screen. `room` is the distance from the frame's
// top-left corner to the screen's right and bottom edges.
ViewSize FitFrameSize(ViewSize content, ViewSize chrome, ViewSize room);

}  // namespace tavro
