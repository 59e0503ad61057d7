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
  return {Narrow((int64_t{point.X} + scroll_.X) / zoom_),
          Narrow((int64_t{point.Y} + scroll_.Y) / zoom_)};
}

WindowRect ViewGeometry::WindowRectOf(const MapRect& rect) const {
  if (rect.IsEmpty()) return {};
  const int64_t left = int64_t{rect.Left} * zoom_ - scroll_.X;
  const int64_t top = int64_t{rect.Top} * zoom_ - scroll_.Y;
  const int64_t right = int64_t{rect.Right} * zoom_ - scroll_.X;
  const int64_t bottom = int64_t{rect.Bottom} * zoom_ - scroll_.Y;
  const WindowRect shown{Clamp(left, 0, client_.Width), Clamp(top, 0, client_.Height),
                         Clamp(right, 0, client_.Width), Clamp(bottom, 0, client_.Height)};
  return shown.IsEmpty() ? WindowRect{} : shown;
}

MapRect ViewGeometry::VisibleMap() const {
  return {scroll_.X / zoom_, scroll_.Y / zoom_,
          Narrow((int64_t{scroll_.X} + client_.Width) / zoom_),
          Narrow((int64_t{scroll_.Y} + client_.Height) / zoom_)};
}

MapDrawPlan ViewGeometry::PlanDraw(const WindowRect& clip, ViewSize playfield) const {
  MapDrawPlan plan;
  if (playfield.Width <= 0 || playfield.Height <= 0 || clip.IsEmpty()) return plan;
  // In the unscrolled, enlarged picture, where whole map pixels start and end.
  const int64_t extentW = int64_t{playfield.Width} * zoom_;
  const int64_t extentH = int64_t{playfield.Height} * zoom_;
  const int64_t left = std::max<int64_t>(0, FloorToMultiple(int64_t{clip.Left} + scroll_.X, zoom_));
  const int64_t top = std::max<int64_t>(0, FloorToMultiple(int64_t{clip.Top} + scroll_.Y, zoom_));
  const int64_t right = std::min(CeilToMultiple(int64_t{clip.Right} + scroll_.X, zoom_), extentW);
  const int64_t bottom = std::min(CeilToMultiple(int64_t{clip.Bottom} + scroll_.Y, zoom_), extentH);
  if (left >= extentW || top >= extentH || right <= left || bottom <= top) return plan;
  plan.Draws = true;
  plan.Target = {Narrow(left - scroll_.X), Narrow(top - scroll_.Y), Narrow(right - scroll_.X),
                 Narrow(bottom - scroll_.Y)};
  plan.Source = {static_cast<int32_t>(left / zoom_), static_cast<int32_t>(top / zoom_),
                 static_cast<int32_t>(right / zoom_), static_cast<int32_t>(bottom / zoom_)};
  return plan;
}

std::vector<WindowRect> ViewGeometry::BackgroundStrips(ViewSize playfield) const {
  std::vector<WindowRect> strips;
  const int64_t pictureRight = int64_t{playfield.Width} * zoom_ - scroll_.X;
  const int64_t pictureBottom = int64_t{playfield.Height} * zoom_ - scroll_.Y;
  if (pictureRight < client_.Width) {
    strips.push_back({Clamp(pictureRight, 0, client_.Width), 0, client_.Width, client_.Height});
  }
  if (pictureBottom < client_.Height) {
    strips.push_back({0, Clamp(pictureBottom, 0, client_.Height), client_.Width, client_.Height});
  }
  return strips;
}

ScrollPos ViewGeometry::FollowHeldObject(const MapRect& objectBox, int32_t stepX,
                                         int32_t stepY) const {
  const MapRect shown = VisibleMap();
  const bool leaves =
      (objectBox.Left < shown.Left && stepX < 0) || (objectBox.Right > shown.Right && stepX > 0) ||
      (objectBox.Top < shown.Top && stepY < 0) || (objectBox.Bottom > shown.Bottom && stepY > 0);
  if (!leaves) return scroll_;
  return {Narrow(scroll_.X + int64_t{stepX} * zoom_), Narrow(scroll_.Y + int64_t{stepY} * zoom_)};
}

ScrollPos MaxScroll(ViewSize total, ViewSize client) {
  return {std::max(0, total.Width - client.Width), std::max(0, total.Height - client.Height)};
}

ScrollPos ZoomScrollTarget(ViewSize client, ScrollPos scroll, int32_t oldZoom, int32_t newZoom,
                           ViewSize playfield) {
  oldZoom = std::max(oldZoom, 1);
  const int64_t cx = (client.Width / 2 + int64_t{scroll.X}) / oldZoom;
  const int64_t cy = (client.Height / 2 + int64_t{scroll.Y}) / oldZoom;
  int64_t x = cx * newZoom - client.Width / 2;
  int64_t y = cy * newZoom - client.Height / 2;
  const int64_t contentW = int64_t{newZoom} * playfield.Width;
  const int64_t contentH = int64_t{newZoom} * playfield.Height;
  if (x + client.Width > contentW) x = contentW - client.Width;
  if (y + client.Height > contentH) y = contentH - client.Height;
  return {Clamp(x, 0, INT32_MAX), Clamp(y, 0, INT32_MAX)};
}

ScrollPos ArrowScrollTarget(ArrowKey key, ViewSize client, ScrollPos scroll, ViewSize total) {
  if (client.Width >= total.Width && client.Height >= total.Height) return scroll;
  const int64_t pageX = total.Width / 10;
  const int64_t pageY = total.Height / 10;
  int64_t x = scroll.X;
  int64_t y = scroll.Y;
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
  return {Clamp(x, 0, limit.X), Clamp(y, 0, limit.Y)};
}

ViewSize FitFrameSize(ViewSize content, ViewSize chrome, ViewSize room) {
  ViewSize size{content.Width + chrome.Width, content.Height + chrome.Height};
  if (size.Height >= room.Height) size.Height = room.Height;
  if (room.Width <= size.Width) size.Width = room.Width;
  return size;
}

}  // namespace tavro
