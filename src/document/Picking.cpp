// Finding the object under the pointer, pixel by pixel, and picking it up.
#include <algorithm>

#include "document/CTavroDoc.h"
#include "document/SetQueries.h"
#include "set/EventCodes.h"

namespace tavro {
namespace {

// Is the cel's pixel at (column, row) (row counted from the top) opaque?
// Outside the cel, or past the end of a short pixel block, counts as
// transparent.
bool IsOpaqueAt(const CellEntry &cell, int32_t column, int32_t row) {
  if (column < 0 || row < 0 || column >= cell.Width || row >= cell.Height) return false;
  // Rows are stored bottom-up.
  const size_t index = static_cast<size_t>(cell.Height - row - 1) * cell.Width + column;
  if (cell.BitsPerPixel == 24) {
    const size_t at = index * 4;
    if (at + 3 > cell.Pixels.size()) return false;
    return cell.Pixels[at] != 0 || cell.Pixels[at + 1] != 0 || cell.Pixels[at + 2] != 0;
  }
  return index < cell.Pixels.size() && cell.Pixels[index] != 0;
}

}  // namespace

int32_t HitTest(const DollSet &set, PointerState &pointer, int32_t x, int32_t y) {
  if (set.CurrentSet() < 0 || set.CurrentSet() >= 16) return -1;
  const auto setBit = static_cast<uint16_t>(1u << set.CurrentSet());
  const int32_t count =
      std::min<int32_t>(set.CellCount(), static_cast<int32_t>(set.CellTable().size()));
  // The first cel line is on top (the composer draws the last one first).
  for (int32_t i = 0; i < count; ++i) {
    const CellEntry &cell = set.CellTable()[i];
    if ((cell.SetMask & setBit) == 0 || cell.Unmapped != 0 || cell.Pixels.empty()) continue;
    const uint16_t slot = set.SlotOf(cell.ObjectNumber);
    if (slot == 0 || slot >= set.ObjectTable().size()) continue;
    const ObjectEntry &object = set.ObjectTable()[slot];
    if ((object.Flags & kInCurrentSet) == 0) continue;
    // Reject by the object's box before reading any pixel. The box starts at
    // the extent, not at the origin: a cel drawn left of or above its origin is
    // picked where it is seen.
    if (x < object.X + object.ExtentLeft || x >= object.X + object.ExtentRight) continue;
    if (y < object.Y + object.ExtentTop || y >= object.Y + object.ExtentBottom) continue;
    if (!IsOpaqueAt(cell, x - (object.X + cell.OffsetX), y - (object.Y + cell.OffsetY))) continue;
    pointer.SetLastHitCell(i);
    return object.Number;
  }
  return -1;
}

int32_t CTavroDoc::PickObject(PickPurpose purpose) {
  const int32_t pointerX = Pointing.X();
  const int32_t pointerY = Pointing.Y();
  if (pointerX >= TheSet.PlayfieldWidth() || pointerY >= TheSet.PlayfieldHeight()) return 0;
  const int32_t number = HitTest(TheSet, Pointing, pointerX, pointerY);
  if (number < 0) return 0;
  const uint16_t slot = TheSet.SlotOf(number);
  if (slot == 0 || slot >= TheSet.ObjectTable().size()) return 0;
  if (purpose == PickPurpose::Inspect) return number + 1;

  const ObjectEntry &object = TheSet.ObjectTable()[slot];
  Pointing.StartDrag();
  // The pointer may only move the object's position within the playfield.
  Pointing.SetBounds(pointerX - object.X, pointerY - object.Y,
                     TheSet.PlayfieldWidth() - object.ExtentRight + 1,
                     TheSet.PlayfieldHeight() - object.ExtentBottom + 1);
  Engine.RunObjectEvent(kEventPress, number);
  // Scripts may have changed the tables; look the object up again.
  if (slot < TheSet.ObjectTable().size() && TheSet.ObjectTable()[slot].FixRemaining > 0) {
    Engine.RunObjectEvent(kEventFixCatch, number);
  }
  Engine.RunObjectEvent(kEventCatch, number);
  return slot;
}

void CTavroDoc::PressAtPointer() { Pointing.Hold(PickObject(PickPurpose::Drag)); }

CTavroDoc::DragResult CTavroDoc::DropHeldObject() {
  if (Pointing.HeldSlot() == 0) return {};
  const DragResult result = DragStep(DragPhase::Drop);
  Pointing.SetBounds(0, 0, TheSet.PlayfieldWidth(), TheSet.PlayfieldHeight());
  Pointing.Hold(0);
  return result;
}

void CTavroDoc::FlushAndRepaint() {
  if (!Composed.Dirty()) return;
  const MapRect changed = IntersectRect(Composed.DirtyArea(),
                                        {0, 0, TheSet.PlayfieldWidth(), TheSet.PlayfieldHeight()});
  FlushDirtyRect();
  if (!changed.IsEmpty()) notices().RepaintMapRect(changed);
}

}  // namespace tavro
