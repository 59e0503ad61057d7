// The arithmetic of the zoomed, scrolled view, kept free of the toolkit so it can be checked
// without a window. All sizes are window pixels unless a name says map.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/MapRect.h"

namespace tavro {

struct ScrollPos {
  int32_t x = 0;
  int32_t y = 0;
  bool operator==(const ScrollPos&) const = default;
};

struct ViewSize {
  int32_t width = 0;
  int32_t height = 0;
  bool operator==(const ViewSize&) const = default;
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

// What one paint copies: `target` in logical (unscrolled, zoomed) pixels, `source` in map
// pixels counted from the top row. `draws` is false when the clip lies outside the picture.
struct MapDrawPlan {
  bool draws = false;
  MapRect target;
  MapRect source;
};

// Widens the logical clip to whole map pixels and cuts it to the scaled playfield.
MapDrawPlan PlanMapDraw(const MapRect& logicalClip, int32_t zoom, ViewSize playfield);

// The grey strips right of and below a picture of `extent` in a client area (client
// coordinates, right and bottom exclusive). The picture is shifted by the scroll position.
std::vector<MapRect> BackgroundStrips(ViewSize extent, ScrollPos scroll, ViewSize client);

// The outer frame size that shows `content` with the frame's chrome around it, held so the
// frame's right and bottom edges stay on the screen. `room` is the distance from the frame's
// top-left corner to the screen's right and bottom edges.
ViewSize FitFrameSize(ViewSize content, ViewSize chrome, ViewSize room);

}  // namespace tavro
