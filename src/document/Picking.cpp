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
  const int32_t pointerX = Pointing_.X();
  const int32_t pointerY = Pointing_.Y();
  if (pointerX >= TheSet_.PlayfieldWidth() || pointerY >= TheSet_.PlayfieldHeight()) return 0;
  const int32_t number = HitTest(TheSet_, Pointing_, pointerX, pointerY);
  if (number < 0) return 0;
  const uint16_t slot = TheSet_.SlotOf(number);
  if (slot == 0 || slot >= TheSet_.ObjectTable().size()) return 0;
  if (purpose == PickPurpose::Inspect) return number + 1;

  const ObjectEntry &object = TheSet_.ObjectTable()[slot];
  Pointing_.StartDrag();
  // The pointer may only move the object's position within the playfield.
  Pointing_.SetBounds(pointerX - object.X, pointerY - object.Y,
                      TheSet_.PlayfieldWidth() - object.ExtentRight + 1,
                      TheSet_.PlayfieldHeight() - object.ExtentBottom + 1);
  Engine_.RunObjectEvent(kEventPress, number);
  // Scripts may have changed the tables; look the object up again.
  if (slot < TheSet_.ObjectTable().size() && TheSet_.ObjectTable()[slot].FixRemaining > 0) {
    Engine_.RunObjectEvent(kEventFixCatch, number);
  }
  Engine_.RunObjectEvent(kEventCatch, number);
  return slot;
}

void CTavroDoc::PressAtPointer() { Pointing_.Hold(PickObject(PickPurpose::Drag)); }

CTavroDoc::DragResult CTavroDoc::DropHeldObject() {
  if (Pointing_.HeldSlot() == 0) return {};
  const DragResult result = DragStep(DragPhase::Drop);
  Pointing_.SetBounds(0, 0, TheSet_.PlayfieldWidth(), TheSet_.PlayfieldHeight());
  Pointing_.Hold(0);
  return result;
}

void CTavroDoc::FlushAndRepaint() {
  if (!Composed_.Dirty()) return;
  const MapRect changed = IntersectRect(
      Composed_.DirtyArea(), {0, 0, TheSet_.PlayfieldWidth(), TheSet_.PlayfieldHeight()});
  FlushDirtyRect();
  if (!changed.IsEmpty()) Notices().RepaintMapRect(changed);
}

}  // namespace tavro
