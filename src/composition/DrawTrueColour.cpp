// Cels into the true-colour map: indexed cels through the current group's colours, opaque or
// blended by their transparency level, and 32-bit cels blended by their alpha channel.
#include "composition/CelDrawing.h"
#include "composition/PixelRuns.h"

namespace tavro::compose {

void DrawIndexedIntoTrue(const MapView& map, const CellEntry& cell, const CelRegion& region,
                         const RgbQuad* colours, const RowSpan* spans) {
  uint32_t words[kPaletteColours];
  for (int32_t i = 0; i < kPaletteColours; ++i) words[i] = MapWordOf(colours[i]);
  RowBlock rows = CelRows(map.WordAt(region.MapLeft, region.MapTop), map.RowBytes, cell, region, 1);
  rows.Spans = spans;
  LevelColourRows(rows, words, LevelOf(cell));
}

void DrawAlphaIntoTrue(const MapView& map, const CellEntry& cell, const CelRegion& region,
                       const RowSpan* spans) {
  RowBlock rows = CelRows(map.WordAt(region.MapLeft, region.MapTop), map.RowBytes, cell, region, 4);
  rows.Spans = spans;
  AlphaRows(rows);
}

}  // namespace tavro::compose
