// The document's composed map: its storage, its colour table as the set's colour groups fill it,
// and the area waiting to be recomposed.
#include <algorithm>
#include <array>

#include "composition/Composer.h"
#include "document/CTavroDoc.h"
#include "document/SetQueries.h"

namespace tavro {

void BuildPalette(DollSet& set, ComposedMap& map, int32_t group) {
  std::array<RgbQuad, kPaletteColours> colours{};
  const int32_t count = std::clamp(set.Palettes().ColourCount, 0, kPaletteColours);
  for (int32_t i = 0; i < count; ++i) colours[i] = set.Palettes().ColourOfGroup(group, i);
  map.TakeColours(colours.data(), count);
  set.SetCurrent(set.CurrentSet(), group);
}

// Script actions only mark the area they changed; whoever raised the event flushes and repaints,
// so a burst of actions composes once.
void CTavroDoc::FlushDirtyRect() {
  const MapRect area = Composed_.TakeDirtyArea();
  if (!area.IsEmpty()) compose::ComposeRect(TheSet_, Composed_, area, Pointing_.HeldSlot());
}

void CTavroDoc::ComposeRect(int32_t left, int32_t top, int32_t width, int32_t height) {
  compose::ComposeRect(TheSet_, Composed_, compose::RectOfSpan(left, top, width, height),
                       Pointing_.HeldSlot());
}

}  // namespace tavro
