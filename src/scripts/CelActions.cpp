// Actions on cels and objects: showing, hiding, moving and transparency.
//
// Actions never compose or paint. They record the boxes of the objects they change in the map's
// dirty area and mark it dirty; whoever raised the event flushes that area afterwards.
#include <algorithm>

#include "document/CTavroDoc.h"
#include "scripts/ScriptCodes.h"

namespace tavro {
namespace {

bool IsCellTarget(uint16_t target) { return (target & kCellTargetBit) != 0; }
int32_t CellIndexOf(uint16_t target) { return target & ~kCellTargetBit; }

// Calls fn on the target's cells: the one cell of a cell target, or every cell of an object.
// Returns the object whose cells these are, or -1 when the target names no cell at all.
template <typename Fn>
int32_t ForTargetCells(std::vector<CellEntry>& cells, int32_t cellCount, uint16_t target, Fn&& fn) {
  if (target == CTavroDoc::kNoTarget) return -1;
  const int32_t count = std::min<int32_t>(cellCount, static_cast<int32_t>(cells.size()));
  if (IsCellTarget(target)) {
    const int32_t index = CellIndexOf(target);
    if (index >= count) return -1;
    fn(cells[index]);
    return cells[index].ObjectNumber;
  }
  for (int32_t i = 0; i < count; ++i) {
    if (cells[i].ObjectNumber == target) fn(cells[i]);
  }
  return target;
}

}  // namespace

int32_t CTavroDoc::ObjectOfTarget(uint16_t target) const {
  if (target == kNoTarget) return -1;
  if (!IsCellTarget(target)) return target;
  const int32_t index = CellIndexOf(target);
  if (index >= CellCount || index >= static_cast<int32_t>(CellTable.size())) return -1;
  return CellTable[index].ObjectNumber;
}

void CTavroDoc::AddObjectToDirtyRect(int32_t objectNumber) {
  const uint16_t slot = SlotOf(objectNumber);
  if (slot == 0 || slot >= ObjectTable.size()) return;
  const ObjectEntry& object = ObjectTable[slot];
  // The box runs from the object's position to its right and bottom extent. A cel with a
  // negative offset reaches left of or above the position, so the box takes that in as well;
  // otherwise part of what changed would never be recomposed.
  const MapRect box{object.X + std::min<int32_t>(0, object.ExtentLeft),
                    object.Y + std::min<int32_t>(0, object.ExtentTop),
                    object.X + object.ExtentRight, object.Y + object.ExtentBottom};
  MarkDirty(box);
}

void CTavroDoc::MapCells(uint16_t target) {
  const int32_t object =
      ForTargetCells(CellTable, CellCount, target, [](CellEntry& cell) { cell.Unmapped = 0; });
  if (object < 0) return;
  MarkDirty({});
  AddObjectToDirtyRect(object);
}

void CTavroDoc::UnmapCells(uint16_t target) {
  const int32_t object =
      ForTargetCells(CellTable, CellCount, target, [](CellEntry& cell) { cell.Unmapped = 1; });
  if (object < 0) return;
  MarkDirty({});
  AddObjectToDirtyRect(object);
}

// Each cel flips on its own, so cels of one object that differ stay different: one shown and
// one hidden swap places.
void CTavroDoc::ToggleCells(uint16_t target) {
  const int32_t object = ForTargetCells(CellTable, CellCount, target, [](CellEntry& cell) {
    cell.Unmapped = cell.Unmapped == 0 ? 1 : 0;
  });
  if (object < 0) return;
  MarkDirty({});
  AddObjectToDirtyRect(object);
}

void CTavroDoc::ShiftTransparency(uint16_t target, int16_t amount) {
  // Summed in 32 bits and then held to 0..255, so a large level never wraps to the other end.
  const int32_t object = ForTargetCells(CellTable, CellCount, target, [amount](CellEntry& cell) {
    cell.Transparency = static_cast<int16_t>(std::clamp(cell.Transparency + amount, 0, 255));
  });
  if (object < 0) return;
  MarkDirty({});
  AddObjectToDirtyRect(object);
}

void CTavroDoc::MoveObject(uint16_t target, int16_t dx, int16_t dy) {
  const int32_t number = ObjectOfTarget(target);
  const uint16_t slot = number < 0 ? 0 : SlotOf(number);
  if (slot == 0 || slot >= ObjectTable.size()) return;
  AddObjectToDirtyRect(number);
  ObjectEntry& object = ObjectTable[slot];
  // Worked out in 32 bits before the edges are applied: a far move must stop at the edge it
  // heads for, not wrap around to the opposite one.
  int32_t x = object.X + dx;
  if (x < 0) x = 0;
  if (x > PlayfieldWidth - object.ExtentRight) x = PlayfieldWidth - object.ExtentRight;
  int32_t y = object.Y + dy;
  if (y < 0) y = 0;
  if (y > PlayfieldHeight - object.ExtentBottom) y = PlayfieldHeight - object.ExtentBottom;
  object.X = static_cast<int16_t>(x);
  object.Y = static_cast<int16_t>(y);
  AddObjectToDirtyRect(number);
  MarkDirty({});
}

}  // namespace tavro
