// Option > Adjust Object: one position per object across all the sets its cels belong to.
#include <algorithm>

#include "document/CTavroDoc.h"

namespace tavro {

void CTavroDoc::AdjustObjects() {
  const int32_t shown = TheSet_.CurrentSet();
  if (shown < 0 || shown >= kSetCount) return;
  const int32_t count =
      std::min<int32_t>(TheSet_.CellCount(), static_cast<int32_t>(TheSet_.CellTable().size()));
  for (int32_t i = 0; i < count; ++i) {
    const CellEntry& cell = TheSet_.CellTable()[i];
    const uint16_t slot = TheSet_.SlotOf(cell.ObjectNumber);
    if (slot == 0 || slot >= TheSet_.ObjectTable().size()) continue;
    // Worked on a copy and stored back whole, so the next cel of the object sees this one's work.
    ObjectEntry object = TheSet_.ObjectTable()[slot];
    if ((object.Flags & kInCurrentSet) == 0) continue;
    object.SetX[shown] = object.X;
    object.SetY[shown] = object.Y;
    // The lowest set of the cel is its home; every later set of the cel takes the home position.
    int32_t home = -1;
    for (int32_t set = 0; set < kSetCount; ++set) {
      if ((cell.SetMask & (1u << set)) == 0) continue;
      if (home < 0) {
        home = set;
        continue;
      }
      object.SetX[set] = object.SetX[home];
      object.SetY[set] = object.SetY[home];
      if (set == shown) {
        object.X = object.SetX[home];
        object.Y = object.SetY[home];
      }
    }
    for (int32_t set = 0; set < kSetCount; ++set) {
      TheSet_.StoreSetPosition(slot, set, object.SetX[set], object.SetY[set]);
    }
    TheSet_.PlaceObject(slot, object.X, object.Y);
  }
  SwitchSet(TheSet_.CurrentSet());
  Notices().RepaintMapRect({0, 0, TheSet_.PlayfieldWidth(), TheSet_.PlayfieldHeight()});
}

}  // namespace tavro
