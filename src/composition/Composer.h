// The composer: draws the current set into a map the caller owns, inside a rectangle.
#pragma once

#include <cstdint>

#include "composition/ComposedMap.h"
#include "platform/MapRect.h"

namespace tavro {
class DollSet;
}

namespace tavro::compose {

// Recomposes `rect` of `map` (clipped to the playfield and to the map actually held; a map
// whose size does not fit its stride, height and mode is never written): background, then every
// visible cel of the current set that meets it. `heldSlot` is the slot of the object being
// dragged (0 = none), whose backdrop the map keeps between steps.
void ComposeRect(const DollSet& set, ComposedMap& map, const MapRect& rect, int32_t heldSlot);

// Draws the visible cels that meet `rect` over what the map holds; ComposeRect's step.
void DrawCellsInRect(const DollSet& set, ComposedMap& map, const MapRect& rect);

// (left, top, width, height) as a rectangle, held within the int32 range so that callers may pass
// any values; empty when the width or height is not positive.
MapRect RectOfSpan(int64_t left, int64_t top, int64_t width, int64_t height);

}  // namespace tavro::compose
