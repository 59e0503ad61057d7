// What the document asks of its set and map without needing the rest of it.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>

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
// Where `object` may stand when moved to (x, y): not left of or above the playfield, and not so
// far right or down that its extent hangs past it; for an object wider or taller than the
// playfield the far edge wins.
inline std::pair<int32_t, int32_t> KeepOnPlayfield(const DollSet& set, const ObjectEntry& object,
                                                   int32_t x, int32_t y) {
  return {std::min<int32_t>(std::max(x, 0), set.PlayfieldWidth() - object.ExtentRight),
          std::min<int32_t>(std::max(y, 0), set.PlayfieldHeight() - object.ExtentBottom)};
}

}  // namespace tavro
