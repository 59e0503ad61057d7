// Cels into the true-colour map: indexed cels through the current group's colours, opaque or
// blended by their transparency level, and 32-bit cels blended by their alpha channel.
#include <algorithm>

#include "composition/CelDrawing.h"
#include "composition/PixelRuns.h"

namespace tavro::compose {

void DrawIndexedIntoTrue(const MapView& map, const CellEntry& cell, const CelRegion& region,
                         const RgbQuad* colours) {
  // Levels outside 0..255 come unchecked from the configuration; below 0 draws opaque, above
  // 255 as nearly invisible.
  const auto level = static_cast<uint32_t>(std::clamp<int32_t>(cell.Transparency, 0, 255));
  uint32_t words[kPaletteColours];
  for (int32_t i = 0; i < kPaletteColours; ++i) words[i] = MapWordOf(colours[i]);
  LevelColourRows(CelRows(map.WordAt(region.MapLeft, region.MapTop), map.RowBytes, cell, region, 1),
                  words, level);
}

void DrawAlphaIntoTrue(const MapView& map, const CellEntry& cell, const CelRegion& region) {
  AlphaRows(CelRows(map.WordAt(region.MapLeft, region.MapTop), map.RowBytes, cell, region, 4));
}

}  // namespace tavro::compose
