#include "composition/ComposedMap.h"

#include <algorithm>
#include <new>

namespace tavro {

void ComposedMap::Allocate(bool trueColour) {
  Form = trueColour ? PixelFormat::Bgr24 : PixelFormat::Indexed8;
  Free();
  if (MapStride < 0 || MapHeight < 0) return;
  const size_t pixels = static_cast<size_t>(MapStride) * MapHeight;
  // A failed allocation leaves no map; the loader reports "not enough memory" for it and
  // composition and drawing skip a missing map.
  try {
    Pixels.assign((trueColour ? 3 : 1) * pixels + 1, 0);
    if (trueColour) BlendRows.assign(pixels, 0);
  } catch (const std::bad_alloc&) {
    Pixels = {};
    BlendRows = {};
  }
}

void ComposedMap::Free() {
  // The work area and the backdrop are map-sized too (megabytes for a large playfield) and mean
  // nothing without the map.
  // Assigned from empty vectors rather than cleared, so that the memory itself goes.
  Pixels = std::vector<uint8_t>();
  BlendRows = std::vector<uint32_t>();
  Held = HeldBackdrop{};
}

bool ComposedMap::IsComplete(int32_t width, int32_t height) const {
  if (Pixels.empty()) return false;
  if (width <= 0 || height <= 0) return false;
  if (MapStride < width || MapHeight < height) return false;
  const size_t needed =
      static_cast<size_t>(MapStride) * BytesPerPixel() * static_cast<size_t>(MapHeight);
  return Pixels.size() >= needed;
}

compose::MapView ComposedMap::DrawingView(int32_t playfieldWidth, int32_t playfieldHeight) {
  compose::MapView map;
  if (Pixels.empty() || MapStride <= 0 || MapHeight <= 0) return map;
  map.bytesPerPixel = TrueColour ? 3 : 1;
  map.stride = MapStride;
  map.rowBytes = MapStride * map.bytesPerPixel;
  map.rows = MapHeight;
  // A map made for another mode or another playfield is left alone rather than overrun.
  if (Pixels.size() < static_cast<size_t>(map.rowBytes) * map.rows) return map;
  if (map.bytesPerPixel == 3) {
    if (BlendRows.size() < static_cast<size_t>(MapStride) * map.rows) return map;
    map.words = BlendRows.data();
  }
  map.pixels = Pixels.data();
  map.area = {0, 0, std::min(playfieldWidth, MapStride), std::min(playfieldHeight, MapHeight)};
  return map;
}

void ComposedMap::TakeColours(const RgbQuad* colours, int32_t count) {
  for (int32_t i = 0; i < count; ++i) ColourTable[i] = colours[i];
}

}  // namespace tavro
