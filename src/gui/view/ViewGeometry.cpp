#include "gui/view/ViewGeometry.h"

#include <algorithm>

namespace tavro {

namespace {

// Wide arithmetic: zoom 31 times a 1280-pixel playfield fits in 32 bits, but hostile scroll
// positions need not, and the results are clamped before they narrow.
int32_t Clamp(int64_t value, int64_t low, int64_t high) {
  return static_cast<int32_t>(std::clamp(value, low, std::max(low, high)));
}

int32_t Narrow(int64_t value) { return Clamp(value, INT32_MIN, INT32_MAX); }

int64_t FloorToMultiple(int64_t value, int64_t step) {
  int64_t q = value / step;
  if (value % step != 0 && value < 0) --q;
  return q * step;
}

int64_t CeilToMultiple(int64_t value, int64_t step) { return -FloorToMultiple(-value, step); }

}  // namespace

ViewGeometry::ViewGeometry(int32_t zoom, ScrollPos scroll, ViewSize client)
    : zoom_(std::max(zoom, 1)), scroll_(scroll), client_(client) {}

MapPoint ViewGeometry::MapPointAt(WindowPoint point) const {
  return {Narrow((int64_t{point.x} + scroll_.x) / zoom_),
          Narrow((int64_t{point.y} + scroll_.y) / zoom_)};
}

WindowRect ViewGeometry::WindowRectOf(const MapRect& rect) const {
  if (rect.IsEmpty()) return {};
  const int64_t left = int64_t{rect.left} * zoom_ - scroll_.x;
  const int64_t top = int64_t{rect.top} * zoom_ - scroll_.y;
  const int64_t right = int64_t{rect.right} * zoom_ - scroll_.x;
  const int64_t bottom = int64_t{rect.bottom} * zoom_ - scroll_.y;
  const WindowRect shown{Clamp(left, 0, client_.width), Clamp(top, 0, client_.height),
                         Clamp(right, 0, client_.width), Clamp(bottom, 0, client_.height)};
  return shown.IsEmpty() ? WindowRect{} : shown;
}

MapRect ViewGeometry::VisibleMap() const {
  return {scroll_.x / zoom_, scroll_.y / zoom_,
          Narrow((int64_t{scroll_.x} + client_.width) / zoom_),
          Narrow((int64_t{scroll_.y} + client_.height) / zoom_)};
}

MapDrawPlan ViewGeometry::PlanDraw(const WindowRect& clip, ViewSize playfield) const {
  MapDrawPlan plan;
  if (playfield.width <= 0 || playfield.height <= 0 || clip.IsEmpty()) return plan;
  // In the unscrolled, enlarged picture, where whole map pixels start and end.
  const int64_t extentW = int64_t{playfield.width} * zoom_;
  const int64_t extentH = int64_t{playfield.height} * zoom_;
  const int64_t left = std::max<int64_t>(0, FloorToMultiple(int64_t{clip.left} + scroll_.x, zoom_));
  const int64_t top = std::max<int64_t>(0, FloorToMultiple(int64_t{clip.top} + scroll_.y, zoom_));
  const int64_t right = std::min(CeilToMultiple(int64_t{clip.right} + scroll_.x, zoom_), extentW);
  const int64_t bottom = std::min(CeilToMultiple(int64_t{clip.bottom} + scroll_.y, zoom_), extentH);
  if (left >= extentW || top >= extentH || right <= left || bottom <= top) return plan;
  plan.draws = true;
  plan.target = {Narrow(left - scroll_.x), Narrow(top - scroll_.y), Narrow(right - scroll_.x),
                 Narrow(bottom - scroll_.y)};
  plan.source = {static_cast<int32_t>(left / zoom_), static_cast<int32_t>(top / zoom_),
                 static_cast<int32_t>(right / zoom_), static_cast<int32_t>(bottom / zoom_)};
  return plan;
}

std::vector<WindowRect> ViewGeometry::BackgroundStrips(ViewSize playfield) const {
  std::vector<WindowRect> strips;
  const int64_t pictureRight = int64_t{playfield.width} * zoom_ - scroll_.x;
  const int64_t pictureBottom = int64_t{playfield.height} * zoom_ - scroll_.y;
  if (pictureRight < client_.width) {
    strips.push_back({Clamp(pictureRight, 0, client_.width), 0, client_.width, client_.height});
  }
  if (pictureBottom < client_.height) {
    strips.push_back({0, Clamp(pictureBottom, 0, client_.height), client_.width, client_.height});
  }
  return strips;
}

ScrollPos ViewGeometry::FollowHeldObject(const MapRect& objectBox, int32_t stepX,
                                         int32_t stepY) const {
  const MapRect shown = VisibleMap();
  const bool leaves =
      (objectBox.left < shown.left && stepX < 0) || (objectBox.right > shown.right && stepX > 0) ||
      (objectBox.top < shown.top && stepY < 0) || (objectBox.bottom > shown.bottom && stepY > 0);
  if (!leaves) return scroll_;
  return {Narrow(scroll_.x + int64_t{stepX} * zoom_), Narrow(scroll_.y + int64_t{stepY} * zoom_)};
}

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

ViewSize FitFrameSize(ViewSize content, ViewSize chrome, ViewSize room) {
  ViewSize size{content.width + chrome.width, content.height + chrome.height};
  if (size.height >= room.height) size.height = room.height;
  if (room.width <= size.width) size.width = room.width;
  return size;
}

}  // namespace tavro
