// Option > Adjust Object: one position per object across all the sets its cels belong to.
#include <algorithm>

#include "document/CTavroDoc.h"

namespace tavro {

void CTavroDoc::AdjustObjects() {
  if (CurrentSet < 0 || CurrentSet >= kSetCount) return;
  const int32_t count = std::min<int32_t>(CellCount, static_cast<int32_t>(CellTable.size()));
  for (int32_t i = 0; i < count; ++i) {
    const CellEntry& cell = CellTable[i];
    const uint16_t slot = SlotOf(cell.ObjectNumber);
    if (slot == 0 || slot >= ObjectTable.size()) continue;
    ObjectEntry& object = ObjectTable[slot];
    if ((object.Flags & kInCurrentSet) == 0) continue;
    object.SetX[CurrentSet] = object.X;
    object.SetY[CurrentSet] = object.Y;
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
      if (set == CurrentSet) {
        object.X = object.SetX[home];
        object.Y = object.SetY[home];
      }
    }
  }
  SwitchSet(CurrentSet);
  host().RepaintMapRect({0, 0, PlayfieldWidth, PlayfieldHeight});
}

}  // namespace tavro
