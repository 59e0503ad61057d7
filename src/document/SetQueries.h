// What the document asks of its set and map without needing the rest of it.
#pragma once

#include <cstdint>
#include <string>

#include "composition/ComposedMap.h"
#include "interaction/PointerState.h"
#include "set/DollSet.h"

namespace tavro {

// Object number under an opaque pixel of a visible cel at map (x, y), or -1; the cel found
// becomes the pointer's last hit cel.
int32_t HitTest(const DollSet& set, PointerState& pointer, int32_t x, int32_t y);
// Appends one line per cel line of object n: its "#"-line ordinal, " : " and its comment. The
// text never grows past 1,023 characters; lines that no longer fit are left out.
void DescribeObjectCells(const DollSet& set, int32_t n, std::string& text);
// Fills the map's colour table from `group` (outside 0..9 reads as 0, at most 256 colours) and
// makes it the set's current group.
void BuildPalette(DollSet& set, ComposedMap& map, int32_t group);

}  // namespace tavro
