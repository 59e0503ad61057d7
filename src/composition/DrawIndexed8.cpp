// Indexed cels into the 256-colour map.
#include "composition/CelDrawing.h"
#include "composition/PixelRuns.h"

namespace tavro::compose {

void DrawIndexedInto8(const MapView& map, const CellEntry& cell, const CelRegion& region) {
  OverlayIndexRows(CelRows(map.At(region.MapLeft, region.MapTop), map.RowBytes, cell, region, 1));
}

}  // namespace tavro::compose
