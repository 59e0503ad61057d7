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
  ExpandRows({map.WordAt(rect.Left, rect.Top), map.Stride * 4, map.At(rect.Left, rect.Top),
              map.RowBytes, rect.Width(), rect.Height()});
}

void PackFromWords(const MapView& map, const MapRect& rect) {
  PackRows({map.At(rect.Left, rect.Top), map.RowBytes,
            reinterpret_cast<const uint8_t*>(map.WordAt(rect.Left, rect.Top)), map.Stride * 4,
            rect.Width(), rect.Height()});
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
  LevelColourRows(
      CelRows(map.WordAt(region.MapLeft, region.MapTop), map.Stride * 4, cell, region, 1), words,
      level);
}

void DrawAlphaIntoTrue(const MapView& map, const CellEntry& cell, const CelRegion& region) {
  AlphaRows(CelRows(map.WordAt(region.MapLeft, region.MapTop), map.Stride * 4, cell, region, 4));
}

}  // namespace tavro::compose
