// What script actions do to the set, and what the engine learns of it.
//
// Actions never compose or paint. They record the boxes of the objects they change in the map's
// dirty area and mark it dirty; whoever raised the event flushes that area afterwards.
#include "document/DocumentScriptTarget.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "document/CTavroDoc.h"
#include "document/SetQueries.h"
#include "platform/FileLookup.h"
#include "scripts/ScriptCodes.h"

namespace tavro {
namespace {

bool IsCellTarget(uint16_t target) { return (target & kCellTargetBit) != 0; }
int32_t CellIndexOf(uint16_t target) { return target & ~kCellTargetBit; }

// Calls fn(index, cell) for the target's cells: the one cell of a cell target, or every cell of
// an object. Returns the object whose cells these are, or -1 when the target names no cell at all.
template <typename Fn>
int32_t ForTargetCells(const DollSet& set, uint16_t target, Fn&& fn) {
  if (target == ScriptTarget::kNoTarget) return -1;
  const std::vector<CellEntry>& cells = set.CellTable();
  const int32_t count = std::min<int32_t>(set.CellCount(), static_cast<int32_t>(cells.size()));
  if (IsCellTarget(target)) {
    const int32_t index = CellIndexOf(target);
    if (index >= count) return -1;
    fn(index, cells[index]);
    return cells[index].ObjectNumber;
  }
  for (int32_t i = 0; i < count; ++i) {
    if (cells[i].ObjectNumber == target) fn(i, cells[i]);
  }
  return target;
}

}  // namespace

int32_t DocumentScriptTarget::ObjectOfTarget(uint16_t target) const {
  if (target == kNoTarget) return -1;
  if (!IsCellTarget(target)) return target;
  const int32_t index = CellIndexOf(target);
  if (index >= Set_.CellCount() || index >= static_cast<int32_t>(Set_.CellTable().size()))
    return -1;
  return Set_.CellTable()[index].ObjectNumber;
}

void DocumentScriptTarget::AddObjectToDirtyRect(int32_t objectNumber) {
  const uint16_t slot = Set_.SlotOf(objectNumber);
  if (slot == 0 || slot >= Set_.ObjectTable().size()) return;
  const ObjectEntry& object = Set_.ObjectTable()[slot];
  // The box runs from the object's position to its right and bottom extent. A cel with a
  // negative offset reaches left of or above the position, so the box takes that in as well;
  // otherwise part of what changed would never be recomposed.
  const MapRect box{object.X + std::min<int32_t>(0, object.ExtentLeft),
                    object.Y + std::min<int32_t>(0, object.ExtentTop),
                    object.X + object.ExtentRight, object.Y + object.ExtentBottom};
  Map_.MarkDirty(box);
}

// Each cel flips on its own under Toggle, so cels of one object that differ stay different: one
// shown and one hidden swap places.
void DocumentScriptTarget::ChangeCels(uint16_t target, CelChange change) {
  DollSet& set = Set_;
  const int32_t object = ForTargetCells(set, target, [&](int32_t index, const CellEntry& cell) {
    switch (change) {
      case CelChange::Show:
        set.SetCellShown(index, true);
        break;
      case CelChange::Hide:
        set.SetCellShown(index, false);
        break;
      case CelChange::Toggle:
        set.SetCellShown(index, cell.Unmapped != 0);
        break;
    }
  });
  if (object < 0) return;
  Map_.MarkDirty({});
  AddObjectToDirtyRect(object);
}

void DocumentScriptTarget::ShiftTransparency(uint16_t target, int16_t amount) {
  // Summed in 32 bits and then held to 0..255, so a large level never wraps to the other end.
  DollSet& set = Set_;
  const int32_t object = ForTargetCells(set, target, [&](int32_t index, const CellEntry& cell) {
    set.SetCellTransparency(index, std::clamp(cell.Transparency + amount, 0, 255));
  });
  if (object < 0) return;
  Map_.MarkDirty({});
  AddObjectToDirtyRect(object);
}

void DocumentScriptTarget::MoveObject(uint16_t target, int16_t dx, int16_t dy) {
  const int32_t number = ObjectOfTarget(target);
  const uint16_t slot = number < 0 ? 0 : Set_.SlotOf(number);
  if (slot == 0 || slot >= Set_.ObjectTable().size()) return;
  AddObjectToDirtyRect(number);
  const ObjectEntry& object = Set_.ObjectTable()[slot];
  // Worked out in 32 bits before the edges are applied: a far move must stop at the edge it
  // heads for, not wrap around to the opposite one.
  const auto [x, y] = KeepOnPlayfield(Set_, object, object.X + dx, object.Y + dy);
  Set_.PlaceObject(slot, x, y);
  AddObjectToDirtyRect(number);
  Map_.MarkDirty({});
}

void DocumentScriptTarget::SwitchSet(int32_t set) {
  Map_.MarkDirty({0, 0, Set_.PlayfieldWidth(), Set_.PlayfieldHeight()});
  Doc_.SwitchSet(set);
}

void DocumentScriptTarget::SwitchGroup(int32_t group) {
  Map_.MarkDirty({0, 0, Set_.PlayfieldWidth(), Set_.PlayfieldHeight()});
  BuildPalette(Set_, Map_, group);
}

// Sound files lie beside the configuration; names are matched without regard to letter case, as
// sets were made on systems that ignore it, and in the other encoding. A file that is not there
// plays nothing.
void DocumentScriptTarget::PlaySound(const std::string& name) {
  const auto found = FindSetFile(Set_.Path().SetDirectory, name);
  if (found) Doc_.CurrentHost().PlaySound(found->Path);
}

void DocumentScriptTarget::ShowDebugText(const std::string& text) {
  Doc_.Notices().ShowDebugText(text);
}

int32_t DocumentScriptTarget::FindCellByName(const char* name) const {
  const int32_t count =
      std::min<int32_t>(Set_.CellCount(), static_cast<int32_t>(Set_.CellTable().size()));
  const std::string wanted(name);
  for (int32_t i = 0; i < count; ++i) {
    const char* fileName = Set_.CellTable()[i].FileName;
    if (EqualsIgnoringCase(std::string(fileName, strnlen(fileName, kNameField)), wanted)) return i;
  }
  return -1;
}

bool DocumentScriptTarget::HasObject(int32_t number) const { return Set_.SlotOf(number) != 0; }

// Before any set is applied (CurrentSet 255) the cel counts as shown whatever its flags say.
int32_t DocumentScriptTarget::ShownCellUnderPointer() const {
  const int32_t hit = Doc_.Pointer().LastHitCell();
  if (hit < 0 || hit >= Set_.CellCount() || hit >= static_cast<int32_t>(Set_.CellTable().size())) {
    return -1;
  }
  const CellEntry& cell = Set_.CellTable()[hit];
  const bool shown = Set_.CurrentSet() >= kSetCount ||
                     (((cell.SetMask >> Set_.CurrentSet()) & 1) != 0 && cell.Unmapped == 0);
  return shown ? hit : -1;
}

bool DocumentScriptTarget::IsSetLoaded() const { return Doc_.IsSetLoaded(); }

bool DocumentScriptTarget::IsDirty() const { return Doc_.Map().Dirty(); }

void DocumentScriptTarget::FlushDirtyArea() { Doc_.FlushAndRepaint(); }

uint32_t DocumentScriptTarget::TickCount() { return Doc_.CurrentHost().TickCount(); }

uint32_t DocumentScriptTarget::ClockSeconds() { return Doc_.CurrentHost().ClockSeconds(); }

}  // namespace tavro
