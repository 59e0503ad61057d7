// Indexed cels into the 256-colour map.
#include "composition/CelDrawing.h"
#include "composition/PixelRuns.h"

namespace tavro::compose {

void DrawIndexedInto8(const MapView& map, const CellEntry& cell, const CelRegion& region) {
  for (int32_t j = 0; j < region.height; ++j) {
    const uint8_t* source = CelRow(cell, CelStoredRow(cell, region, j), region.skipX, 1);
    OverlayIndexRun(map.At(region.mapLeft, region.mapTop + j), source, region.width);
  }
}

}  // namespace tavro::compose
