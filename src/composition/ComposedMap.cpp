#include "composition/ComposedMap.h"

#include <algorithm>
#include <new>

#include "composition/PixelRuns.h"

namespace tavro {

void ComposedMap::Allocate(bool trueColour) {
  Form_ = trueColour ? PixelFormat::Rgbx32 : PixelFormat::Indexed8;
  Free();
  if (MapStride_ < 0 || MapHeight_ < 0) return;
  const size_t pixels = static_cast<size_t>(MapStride_) * MapHeight_;
  // A failed allocation leaves no map; the loader reports "not enough memory" for it and
  // composition and drawing skip a missing map.
  // The vector's memory comes from operator new, aligned for any word, and every row is a whole
  // number of words long, so the true-colour drawing may take each pixel as one word.
  try {
    Pixels_.assign(static_cast<size_t>(BytesPerPixelOf(Form_)) * pixels + 1, 0);
  } catch (const std::bad_alloc&) {
    Pixels_ = {};
  }
  // Black until composed, with the fourth byte every true-colour pixel carries.
  if (trueColour) {
    for (size_t i = 3; i < Pixels_.size(); i += 4) Pixels_[i] = 0xFF;
  }
}

void ComposedMap::Free() {
  // The backdrop is map-sized too (megabytes for a large playfield) and means nothing without the
  // map. Assigned from empty vectors rather than cleared, so that the memory itself goes.
  Pixels_ = std::vector<uint8_t>();
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
  map.BytesPerPixel = BytesPerPixelOf(TrueColour_ ? PixelFormat::Rgbx32 : PixelFormat::Indexed8);
  map.Stride = MapStride_;
  map.RowBytes = MapStride_ * map.BytesPerPixel;
  map.Rows = MapHeight_;
  // A map made for another mode or another playfield is left alone rather than overrun.
  if (Pixels_.size() < static_cast<size_t>(map.RowBytes) * map.Rows) return map;
  map.Pixels = Pixels_.data();
  map.Area = {0, 0, std::min(playfieldWidth, MapStride_), std::min(playfieldHeight, MapHeight_)};
  return map;
}

void ComposedMap::CopyRgbPixels(int32_t y, int32_t left, int32_t right, uint8_t* out) const {
  compose::PackRgbRows({out, 0, Row(y) + static_cast<size_t>(left) * 4, 0, right - left, 1});
}

void ComposedMap::TakeColours(const RgbQuad* colours, int32_t count) {
  for (int32_t i = 0; i < count; ++i) ColourTable_[i] = colours[i];
}

}  // namespace tavro
