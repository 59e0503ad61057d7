// The composed map's storage and its colour table.
#include <algorithm>
#include <new>

#include "composition/MapForm.h"
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

void CTavroDoc::AllocateMap(bool trueColour) {
  MapInfo.Header.biBitCount = trueColour ? 24 : 8;
  CompositeMap = {};
  BlendRows = {};
  Backdrop = {};
  if (MapStride < 0 || MapHeight < 0) return;
  const size_t pixels = static_cast<size_t>(MapStride) * MapHeight;
  // A failed allocation leaves no map; the loader reports "not enough memory" for it and
  // composition and drawing skip a missing map.
  try {
    CompositeMap.assign((trueColour ? 3 : 1) * pixels + 1, 0);
    if (trueColour) BlendRows.assign(pixels, 0);
  } catch (const std::bad_alloc&) {
    CompositeMap = {};
    BlendRows = {};
  }
}

void CTavroDoc::BuildPalette(int32_t group) {
  MapInfo.Header.biWidth = MapStride;
  MapInfo.Header.biHeight = MapHeight;
  const int32_t count = std::clamp(ColourCount, 0, kPaletteColours);
  for (int32_t i = 0; i < count; ++i) {
    const RgbQuad colour = ColourOfGroup(group, i);
    MapInfo.Colours[i] = colour;
  }
  CurrentGroup = group;
}

int32_t MapBytesPerPixel(const CTavroDoc& doc) {
  return doc.MapInfo.Header.biBitCount == 24 ? 3 : 1;
}

bool HasCompleteMap(const CTavroDoc& doc) {
  const int bitCount = doc.MapInfo.Header.biBitCount;
  if (doc.CompositeMap.empty() || (bitCount != 8 && bitCount != 24)) return false;
  if (doc.PlayfieldWidth <= 0 || doc.PlayfieldHeight <= 0) return false;
  if (doc.MapStride < doc.PlayfieldWidth || doc.MapHeight < doc.PlayfieldHeight) return false;
  const size_t needed = static_cast<size_t>(doc.MapStride) * MapBytesPerPixel(doc) *
                        static_cast<size_t>(doc.MapHeight);
  return doc.CompositeMap.size() >= needed;
}

}  // namespace tavro
