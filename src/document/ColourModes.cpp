// The commands that change how the map holds colours.
#include "document/CTavroDoc.h"

namespace tavro {

// The map's stride and height belong to the last loaded set; without a set they may be zero or
// stale, so the mode commands only act on a loaded set.
void CTavroDoc::ChangeColourMode(bool trueColour) {
  if (!IsSetLoaded()) return;
  Composed_.SetTrueColourMode(trueColour);
  Composed_.Allocate(trueColour);
  SwitchSet(TheSet_.CurrentSet());
  Notices().RepaintMapRect({0, 0, TheSet_.PlayfieldWidth(), TheSet_.PlayfieldHeight()});
}

void CTavroDoc::SetColourMode256() { ChangeColourMode(false); }

void CTavroDoc::SetColourModeTrue() { ChangeColourMode(true); }

void CTavroDoc::ApplyTransparent50() {
  if (!IsSetLoaded()) return;
  for (int32_t i = 0; i < TheSet_.CellCount(); ++i) TheSet_.SetCellTransparency(i, 128);
  ChangeColourMode(true);
}

}  // namespace tavro
