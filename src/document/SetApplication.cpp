// Making a set current: where each object stands, which objects show, which colour group.
#include <algorithm>

#include "document/CTavroDoc.h"
#include "set/EventCodes.h"

namespace tavro {

namespace {

bool IsSet(int32_t set) { return set >= 0 && set < kSetCount; }

// Objects may have been dragged or moved by scripts; before leaving a set, its entries take the
// positions shown now. An object not shown in the set keeps no position there.
void StorePositions(CTavroDoc& doc, int32_t set) {
  doc.ForEachObject([&](int32_t, uint16_t slot) {
    if (slot >= doc.ObjectTable.size()) return;
    ObjectEntry& object = doc.ObjectTable[slot];
    const bool shown = (object.Flags & kInCurrentSet) != 0;
    object.SetX[set] = shown ? object.X : int16_t{0};
    object.SetY[set] = shown ? object.Y : int16_t{0};
  });
}

void MarkObjectsInSet(CTavroDoc& doc, int32_t set) {
  for (ObjectEntry& object : doc.ObjectTable) object.Flags &= static_cast<uint8_t>(~kInCurrentSet);
  const uint32_t setBit = 1u << set;
  const auto cells = static_cast<size_t>(std::max(doc.CellCount, 0));
  for (size_t i = 0; i < std::min(cells, doc.CellTable.size()); ++i) {
    const CellEntry& cell = doc.CellTable[i];
    if ((cell.SetMask & setBit) == 0) continue;
    const uint16_t slot = doc.SlotOf(cell.ObjectNumber);
    if (slot != 0 && slot < doc.ObjectTable.size()) doc.ObjectTable[slot].Flags |= kInCurrentSet;
  }
}

// A stored position may leave the object hanging past the right or bottom edge (the playfield
// line may have shrunk since the set was saved); such objects are pulled back inside.
int16_t PullInside(int16_t position, int16_t extentEnd, int32_t limit) {
  if (int32_t{position} + extentEnd >= limit) return static_cast<int16_t>(limit - extentEnd);
  return position;
}

void MoveObjectsToSet(CTavroDoc& doc, int32_t set) {
  for (ObjectEntry& object : doc.ObjectTable) {
    if ((object.Flags & kInCurrentSet) == 0) continue;
    object.X = PullInside(object.SetX[set], object.ExtentRight, doc.PlayfieldWidth);
    object.Y = PullInside(object.SetY[set], object.ExtentBottom, doc.PlayfieldHeight);
  }
}

}  // namespace

void CTavroDoc::ApplySet(int32_t set) {
  RunEvent(kEventSet, set);
  if (IsSet(CurrentSet)) {
    StorePositions(*this, CurrentSet);
    SetGroup[CurrentSet] = static_cast<int16_t>(CurrentGroup);
  }
  if (!IsSet(set)) return;
  CurrentGroup = SetGroup[set];
  MarkObjectsInSet(*this, set);
  MoveObjectsToSet(*this, set);
  CurrentSet = set;
}

void CTavroDoc::SwitchSet(int32_t set) {
  ApplySet(set);
  ComposeRect(0, 0, PlayfieldWidth, PlayfieldHeight);
  BuildPalette(CurrentGroup);
}

}  // namespace tavro
