// Making a set current: where each object stands, which objects show, which colour group.
#include "document/CTavroDoc.h"
#include "set/EventCodes.h"

namespace tavro {

// "set(" runs first, so its actions still move objects of the set being left.
void CTavroDoc::ApplySet(int32_t set) {
  RunEvent(kEventSet, set);
  TheSet.LeaveCurrentSet();
  TheSet.EnterSet(set);
}

void CTavroDoc::SwitchSet(int32_t set) {
  ApplySet(set);
  ComposeRect(0, 0, TheSet.PlayfieldWidth(), TheSet.PlayfieldHeight());
  BuildPalette(TheSet.CurrentGroup());
}

}  // namespace tavro
