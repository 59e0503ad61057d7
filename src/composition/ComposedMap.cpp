#include "composition/ComposedMap.h"

#include <algorithm>
#include <new>

namespace tavro {

void ComposedMap::Allocate(bool trueColour) {
  Form_ = trueColour ? PixelFormat::Bgr24 : PixelFormat::Indexed8;
  Free();
  if (MapStride_ < 0 || MapHeight_ < 0) return;
  const size_t pixels = static_cast<size_t>(MapStride_) * MapHeight_;
  // A failed allocation leaves no map; the loader reports "not enough memory" for it and
  // composition and drawing skip a missing map.
  try {
    Pixels_.assign((trueColour ? 3 : 1) * pixels + 1, 0);
    if (trueColour) BlendRows_.assign(pixels, 0);
  } catch (const std::bad_alloc&) {
    Pixels_ = {};
    BlendRows_ = {};
  }
}

void ComposedMap::Free() {
  // The work area and the backdrop are map-sized too (megabytes for a large playfield) and mean
  // nothing without the map.
  // Assigned from empty vectors rather than cleared, so that the memory itself goes.
  Pixels_ = std::vector<uint8_t>();
  BlendRows_ = std::vector<uint32_t>();
  Held_ = HeldBackdrop{};
}

bool ComposedMap::IsComplete(int32_t width, int32_t height) const {
  if (Pixels_.empty()) return false;
  if (width <= 0 || height <= 0) return false;
  if (MapStride_ < width || MapHeight_ < height) return false;
  const size_t needed =
      static_cast<size_t>(MapStride_) * BytesPerPixel() * static_cast<size_t>(MapHeight_);
  return Pixels_.size() >= needed;
}

compose::MapView ComposedMap::DrawingView(int32_t playfieldWidth, int32_t playfieldHeight) {
  compose::MapView map;
  if (Pixels_.empty() || MapStride_ <= 0 || MapHeight_ <= 0) return map;
  map.BytesPerPixel = TrueColour_ ? 3 : 1;
  map.Stride = MapStride_;
  map.RowBytes = MapStride_ * map.BytesPerPixel;
  map.Rows = MapHeight_;
  // A map made for another mode or another playfield is left alone rather than overrun.
  if (Pixels_.size() < static_cast<size_t>(map.RowBytes) * map.Rows) return map;
  if (map.BytesPerPixel == 3) {
    if (BlendRows_.size() < static_cast<size_t>(MapStride_) * map.Rows) return map;
    map.Words = BlendRows_.data();
  }
  map.Pixels = Pixels_.data();
  map.Area = {0, 0, std::min(playfieldWidth, MapStride_), std::min(playfieldHeight, MapHeight_)};
  return map;
}

void ComposedMap::TakeColours(const RgbQuad* colours, int32_t count) {
  for (int32_t i = 0; i < count; ++i) ColourTable_[i] = colours[i];
}

}  // namespace tavro
