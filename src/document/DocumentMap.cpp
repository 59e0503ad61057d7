// The document's composed map: its storage, its colour table as the set's colour groups fill it,
// and the area waiting to be recomposed.
#include <algorithm>
#include <array>

#include "composition/Composer.h"
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

// Script actions only mark the area they changed; whoever raised the event flushes and repaints,
// so a burst of actions composes once.
void CTavroDoc::MarkDirty(const MapRect& rect) { Composed.MarkDirty(rect); }

void CTavroDoc::MarkPlayfieldDirty() { MarkDirty({0, 0, PlayfieldWidth, PlayfieldHeight}); }

void CTavroDoc::FlushDirtyRect() {
  const MapRect area = Composed.TakeDirtyArea();
  if (!area.IsEmpty()) compose::ComposeRect(*this, Composed, area, Pointing.HeldSlot());
}

void CTavroDoc::ComposeRect(int32_t left, int32_t top, int32_t width, int32_t height) {
  compose::ComposeRect(*this, Composed, compose::RectOfSpan(left, top, width, height),
                       Pointing.HeldSlot());
}

void CTavroDoc::DrawCellsInRect(int32_t left, int32_t top, int32_t width, int32_t height) {
  compose::DrawCellsInRect(*this, Composed, compose::RectOfSpan(left, top, width, height));
}

}  // namespace tavro
