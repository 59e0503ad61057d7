// Making a set current (where each object stands, which objects show, which colour group), and
// choosing a set or a colour group from the menus, the toolbar and the digit keys.
#include "document/CTavroDoc.h"
#include "document/SetQueries.h"
#include "set/EventCodes.h"

namespace tavro {

// "set(" runs first, so its actions still move objects of the set being left.
void CTavroDoc::ApplySet(int32_t set) {
  Engine_.RunEvent(kEventSet, set);
  TheSet_.LeaveCurrentSet();
  TheSet_.EnterSet(set);
}

void CTavroDoc::SwitchSet(int32_t set) {
  ApplySet(set);
  ComposeRect(0, 0, TheSet_.PlayfieldWidth(), TheSet_.PlayfieldHeight());
  BuildPalette(TheSet_, Composed_, TheSet_.CurrentGroup());
}

CTavroDoc::SetChoice CTavroDoc::SelectSet(int32_t n) {
  if (n < 0 || n >= kSetCount || !TheSet_.IsSetInUse(n)) return SetChoice::NotInUse;
  // Choosing the set already shown raises no event and recomposes nothing.
  if (n == TheSet_.CurrentSet()) return SetChoice::AlreadyShown;
  SwitchSet(n);
  Notices().RepaintMapRect({0, 0, TheSet_.PlayfieldWidth(), TheSet_.PlayfieldHeight()});
  return SetChoice::Switched;
}

void CTavroDoc::SelectGroup(int32_t n) {
  if (n < 0 || n >= kGroupCount) return;
  BuildPalette(TheSet_, Composed_, n);
  // A true-colour map holds colours, not indices: without recomposing, the new group would show
  // only where something else happens to be redrawn later.
  if (Composed_.TrueColourMode())
    ComposeRect(0, 0, TheSet_.PlayfieldWidth(), TheSet_.PlayfieldHeight());
  Notices().RepaintMapRect({0, 0, TheSet_.PlayfieldWidth(), TheSet_.PlayfieldHeight()});
}

}  // namespace tavro
