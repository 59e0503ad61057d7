// Putting a set's defaults in place, freeing a set, and starting an empty document.
#include <algorithm>
#include <cstring>

#include "document/CTavroDoc.h"

namespace tavro {

void CTavroDoc::ResetSet() {
  CellCount = 0;
  ObjectCount = 0;
  PaletteCount = 0;
  ColourCount = 0;
  PaletteFileCount = 0;
  CurrentGroup = 0;
  SetLoaded = false;
  GroupCount = 0;
  PlayfieldWidth = 448;
  PlayfieldHeight = 320;
  CurrentSet = 255;
  std::memset(PaletteGroups, 0, sizeof PaletteGroups);
  PaletteBase.fill(0);
  SetInUse.fill(0);
  SetGroup.fill(0);
  Composed.TakeDirtyArea();
  Composed.SetTrueColourMode(false);
  DisarmAllAlarms();
}

void CTavroDoc::DeleteContents() {
  // Every record, not just the first CellCount: ResetSet may already have zeroed the count.
  for (CellEntry& cell : CellTable) cell.Pixels = std::vector<uint8_t>();
  ObjectSlots = std::vector<uint16_t>();
  LargeObjectSlots.clear();
  Composed.Free();
  ObjectTable = std::vector<ObjectEntry>();
  CellTable = std::vector<CellEntry>();
  Engine.ClearActions();
  LoadedCelCount = 0;
  // With its tables gone the set cannot be shown, whoever called this; a repaint or timer
  // message arriving before the next load must find nothing to draw.
  SetLoaded = false;
}

bool CTavroDoc::OnNewDocument() {
  DeleteContents();
  ResetSet();
  return true;
}

}  // namespace tavro
