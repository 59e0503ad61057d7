// Putting a set's defaults in place, freeing a set, and starting an empty document.
#include <algorithm>

#include "document/CTavroDoc.h"

namespace tavro {

void CTavroDoc::ResetSet() {
  TheSet.Reset();
  SetLoaded = false;
  DirtyFlag = false;
  DirtyRect = MapRect{};
  TrueColourMode = false;
  DisarmAllAlarms();
}

void CTavroDoc::DeleteContents() {
  TheSet.FreeTables();
  CompositeMap = std::vector<uint8_t>();
  // The true-colour work area and the drag backdrop are map-sized too (megabytes for a large
  // playfield) and mean nothing without the map.
  BlendRows = std::vector<uint32_t>();
  Backdrop = HeldBackdrop{};
  std::fill(ActionStore.begin(), ActionStore.end(), uint8_t{0});
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
