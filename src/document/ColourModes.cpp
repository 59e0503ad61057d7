// The commands that change how the map holds colours.
#include "document/CTavroDoc.h"

namespace tavro {

namespace {

void RepaintPlayfield(CTavroDoc& doc) {
  doc.host().RepaintMapRect({0, 0, doc.Set().PlayfieldWidth(), doc.Set().PlayfieldHeight()});
}

// The map's stride and height belong to the last loaded set; without a set they may be zero or
// stale, so the mode commands only act on a loaded set.
void ChangeColourMode(CTavroDoc& doc, bool trueColour) {
  if (!doc.IsSetLoaded()) return;
  doc.EditMap().SetTrueColourMode(trueColour);
  doc.EditMap().Allocate(trueColour);
  doc.SwitchSet(doc.Set().CurrentSet());
  RepaintPlayfield(doc);
}

}  // namespace

void CTavroDoc::SetColourMode256() { ChangeColourMode(*this, false); }

void CTavroDoc::SetColourModeTrue() { ChangeColourMode(*this, true); }

void CTavroDoc::ApplyTransparent50() {
  if (!IsSetLoaded()) return;
  for (int32_t i = 0; i < TheSet.CellCount(); ++i) TheSet.SetCellTransparency(i, 128);
  ChangeColourMode(*this, true);
}

}  // namespace tavro
