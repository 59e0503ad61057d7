// Cels into the true-colour map: indexed cels through the current group's colours, opaque or
// blended by their transparency level, and 32-bit cels blended by their alpha channel.
//
// Drawing happens in the work area of 4-byte pixels (see PixelRuns.h): whole words blend much
// faster than 3-byte pixels.
#include <algorithm>

#include "composition/CelDrawing.h"
#include "composition/PixelRuns.h"

namespace tavro::compose {

void ExpandToWords(const MapView& map, const MapRect& rect) {
  for (int32_t y = rect.top; y < rect.bottom; ++y) {
    ExpandRun(map.WordAt(rect.left, y), map.At(rect.left, y), rect.Width());
  }
}

void PackFromWords(const MapView& map, const MapRect& rect) {
  for (int32_t y = rect.top; y < rect.bottom; ++y) {
    PackRun(map.At(rect.left, y), map.WordAt(rect.left, y), rect.Width());
  }
}

void DrawIndexedIntoTrue(const MapView& map, const CellEntry& cell, const CelRegion& region,
                         const RgbQuad* colours) {
  // Levels outside 0..255 come unchecked from the configuration; below 0 draws opaque, above
  // 255 as nearly invisible.
  const auto level = static_cast<uint32_t>(std::clamp<int32_t>(cell.Transparency, 0, 255));
  uint32_t words[kPaletteColours];
  for (int32_t i = 0; i < kPaletteColours; ++i) {
    words[i] = colours[i].Blue | colours[i].Green << 8 | colours[i].Red << 16;
  }
  for (int32_t j = 0; j < region.height; ++j) {
    const uint8_t* source = CelRow(cell, CelStoredRow(cell, region, j), region.skipX, 1);
    LevelColourRun(map.WordAt(region.mapLeft, region.mapTop + j), source, region.width, words,
                   level);
  }
}

void DrawAlphaIntoTrue(const MapView& map, const CellEntry& cell, const CelRegion& region) {
  for (int32_t j = 0; j < region.height; ++j) {
    const uint8_t* source = CelRow(cell, CelStoredRow(cell, region, j), region.skipX, 4);
    AlphaRun(map.WordAt(region.mapLeft, region.mapTop + j), source, region.width);
  }
}

}  // namespace tavro::compose
