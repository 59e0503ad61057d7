// The composed map's storage and its colour table, as the set's colour groups fill it.
#include <algorithm>
#include <array>

#include "document/CTavroDoc.h"

namespace tavro {

namespace {

// Colour groups come from set lines and menus unchecked; anything outside 0..9 shows group 0
// rather than whatever lies beside the table.
int32_t UsableGroup(int32_t group) { return (group >= 0 && group < kGroupCount) ? group : 0; }

}  // namespace

RgbQuad CTavroDoc::ColourOfGroup(int32_t group, int32_t index) const {
  if (index < 0 || index >= kPaletteColours) return {};
  const uint8_t* stored = PaletteGroups[UsableGroup(group)][index];
  return {stored[kGroupBlue], stored[kGroupGreen], stored[kGroupRed], 0};
}

void CTavroDoc::AllocateMap(bool trueColour) { Composed.Allocate(trueColour); }

void CTavroDoc::BuildPalette(int32_t group) {
  std::array<RgbQuad, kPaletteColours> colours{};
  const int32_t count = std::clamp(ColourCount, 0, kPaletteColours);
  for (int32_t i = 0; i < count; ++i) colours[i] = ColourOfGroup(group, i);
  Composed.TakeColours(colours.data(), count);
  CurrentGroup = group;
}

}  // namespace tavro
