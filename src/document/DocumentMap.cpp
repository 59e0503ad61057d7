// The document's composed map: its storage, its colour table as the set's colour groups fill it,
// and the area waiting to be recomposed.
#include <algorithm>
#include <array>

#include "composition/Composer.h"
#include "document/CTavroDoc.h"

namespace tavro {

void CTavroDoc::AllocateMap(bool trueColour) { Composed.Allocate(trueColour); }

void CTavroDoc::BuildPalette(int32_t group) {
  std::array<RgbQuad, kPaletteColours> colours{};
  const int32_t count = std::clamp(TheSet.Palettes().ColourCount, 0, kPaletteColours);
  for (int32_t i = 0; i < count; ++i) colours[i] = TheSet.Palettes().ColourOfGroup(group, i);
  Composed.TakeColours(colours.data(), count);
  TheSet.SetCurrent(TheSet.CurrentSet(), group);
}

// Script actions only mark the area they changed; whoever raised the event flushes and repaints,
// so a burst of actions composes once.
void CTavroDoc::MarkDirty(const MapRect& rect) { Composed.MarkDirty(rect); }

void CTavroDoc::MarkPlayfieldDirty() {
  MarkDirty({0, 0, TheSet.PlayfieldWidth(), TheSet.PlayfieldHeight()});
}

void CTavroDoc::FlushDirtyRect() {
  const MapRect area = Composed.TakeDirtyArea();
  if (!area.IsEmpty()) compose::ComposeRect(TheSet, Composed, area, Pointing.HeldSlot());
}

void CTavroDoc::ComposeRect(int32_t left, int32_t top, int32_t width, int32_t height) {
  compose::ComposeRect(TheSet, Composed, compose::RectOfSpan(left, top, width, height),
                       Pointing.HeldSlot());
}

void CTavroDoc::DrawCellsInRect(int32_t left, int32_t top, int32_t width, int32_t height) {
  compose::DrawCellsInRect(TheSet, Composed, compose::RectOfSpan(left, top, width, height));
}

}  // namespace tavro
