// Choosing a set or a colour group from the menus, the toolbar and the digit keys.
#include "document/CTavroDoc.h"

namespace tavro {

CTavroDoc::SetChoice CTavroDoc::SelectSet(int32_t n) {
  if (n < 0 || n >= kSetCount || TheSet.SetInUse()[n] == 0) return SetChoice::NotInUse;
  // Choosing the set already shown raises no event and recomposes nothing.
  if (n == TheSet.CurrentSet()) return SetChoice::AlreadyShown;
  SwitchSet(n);
  host().RepaintMapRect({0, 0, TheSet.PlayfieldWidth(), TheSet.PlayfieldHeight()});
  return SetChoice::Switched;
}

void CTavroDoc::SelectGroup(int32_t n) {
  if (n < 0 || n >= kGroupCount) return;
  BuildPalette(n);
  // A true-colour map holds colours, not indices: without recomposing, the new group would show
  // only where something else happens to be redrawn later.
  if (Composed.TrueColourMode())
    ComposeRect(0, 0, TheSet.PlayfieldWidth(), TheSet.PlayfieldHeight());
  host().RepaintMapRect({0, 0, TheSet.PlayfieldWidth(), TheSet.PlayfieldHeight()});
}

}  // namespace tavro
