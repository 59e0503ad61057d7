#include "gui/view/ViewGeometry.h"

#include <algorithm>

namespace tavro {

namespace {

// Wide arithmetic: zoom 31 times a 1280-pixel playfield fits in 32 bits, but hostile scroll
// positions need not, and the results are clamped before they narrow.
int32_t Clamp(int64_t value, int64_t low, int64_t high) {
  return static_cast<int32_t>(std::clamp(value, low, std::max(low, high)));
}

int64_t FloorToMultiple(int64_t value, int64_t step) {
  int64_t q = value / step;
  if (value % step != 0 && value < 0) --q;
  return q * step;
}

int64_t CeilToMultiple(int64_t value, int64_t step) { return -FloorToMultiple(-value, step); }

}  // namespace

ScrollPos MaxScroll(ViewSize total, ViewSize client) {
  return {std::max(0, total.width - client.width), std::max(0, total.height - client.height)};
}

ScrollPos ZoomScrollTarget(ViewSize client, ScrollPos scroll, int32_t oldZoom, int32_t newZoom,
                           ViewSize playfield) {
  oldZoom = std::max(oldZoom, 1);
  const int64_t cx = (client.width / 2 + int64_t{scroll.x}) / oldZoom;
  const int64_t cy = (client.height / 2 + int64_t{scroll.y}) / oldZoom;
  int64_t x = cx * newZoom - client.width / 2;
  int64_t y = cy * newZoom - client.height / 2;
  const int64_t contentW = int64_t{newZoom} * playfield.width;
  const int64_t contentH = int64_t{newZoom} * playfield.height;
  if (x + client.width > contentW) x = contentW - client.width;
  if (y + client.height > contentH) y = contentH - client.height;
  return {Clamp(x, 0, INT32_MAX), Clamp(y, 0, INT32_MAX)};
}

ScrollPos ArrowScrollTarget(ArrowKey key, ViewSize client, ScrollPos scroll, ViewSize total) {
  if (client.width >= total.width && client.height >= total.height) return scroll;
  const int64_t pageX = total.width / 10;
  const int64_t pageY = total.height / 10;
  int64_t x = scroll.x;
  int64_t y = scroll.y;
  switch (key) {
    case ArrowKey::Left:
      x -= pageX;
      break;
    case ArrowKey::Right:
      x += pageX;
      break;
    case ArrowKey::Up:
      y -= pageY;
      break;
    case ArrowKey::Down:
      y += pageY;
      break;
  }
  const ScrollPos limit = MaxScroll(total, client);
  return {Clamp(x, 0, limit.x), Clamp(y, 0, limit.y)};
}

MapDrawPlan PlanMapDraw(const MapRect& logicalClip, int32_t zoom, ViewSize playfield) {
  MapDrawPlan plan;
  if (zoom < 1 || playfield.width <= 0 || playfield.height <= 0) return plan;
  const int64_t extentW = int64_t{playfield.width} * zoom;
  const int64_t extentH = int64_t{playfield.height} * zoom;
  const int64_t left = std::max<int64_t>(0, FloorToMultiple(logicalClip.left, zoom));
  const int64_t top = std::max<int64_t>(0, FloorToMultiple(logicalClip.top, zoom));
  const int64_t right = std::min(CeilToMultiple(logicalClip.right, zoom), extentW);
  const int64_t bottom = std::min(CeilToMultiple(logicalClip.bottom, zoom), extentH);
  if (left >= extentW || top >= extentH || right <= left || bottom <= top) return plan;
  plan.draws = true;
  plan.target = {static_cast<int32_t>(left), static_cast<int32_t>(top), static_cast<int32_t>(right),
                 static_cast<int32_t>(bottom)};
  plan.source = {static_cast<int32_t>(left / zoom), static_cast<int32_t>(top / zoom),
                 static_cast<int32_t>(right / zoom), static_cast<int32_t>(bottom / zoom)};
  return plan;
}

std::vector<MapRect> BackgroundStrips(ViewSize extent, ScrollPos scroll, ViewSize client) {
  std::vector<MapRect> strips;
  const int32_t pictureRight = extent.width - scroll.x;
  const int32_t pictureBottom = extent.height - scroll.y;
  if (pictureRight < client.width) {
    strips.push_back({std::max(0, pictureRight), 0, client.width, client.height});
  }
  if (pictureBottom < client.height) {
    strips.push_back({0, std::max(0, pictureBottom), client.width, client.height});
  }
  return strips;
}

ViewSize FitFrameSize(ViewSize content, ViewSize chrome, ViewSize room) {
  ViewSize size{content.width + chrome.width, content.height + chrome.height};
  if (size.height >= room.height) size.height = room.height;
  if (room.width <= size.width) size.width = room.width;
  return size;
}

}  // namespace tavro
