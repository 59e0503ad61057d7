// The set's tables and the operations that change them.
//
// A cel line may name any object number, even 4,000,000,000; the number is rejected only when its
// cel loads, after its slot has been handed out. Growing one array to that number would allocate
// gigabytes, so numbers below the valid limit live in ObjectSlots and the rare larger ones in a
// small ordered map. Both together hold at most one entry per cel line.
#include "set/DollSet.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>

#include "set/Saturate.h"

namespace tavro {
namespace {

// The three bytes of a stored colour.
constexpr int kGroupBlue = 0;
constexpr int kGroupRed = 1;
constexpr int kGroupGreen = 2;

bool IsSet(int32_t set) { return set >= 0 && set < kSetCount; }
bool IsColour(int32_t group, int32_t index) {
  return group >= 0 && group < kGroupCount && index >= 0 && index < kPaletteColours;
}

// A stored position may leave the object hanging past the right or bottom edge (the playfield
// line may have shrunk since the set was saved); such objects are pulled back inside.
int16_t PullInside(int16_t position, int16_t extentEnd, int32_t limit) {
  if (int32_t{position} + extentEnd >= limit) return static_cast<int16_t>(limit - extentEnd);
  return position;
}

}  // namespace

PaletteEntry SetPalettes::GroupColour(int32_t group, int32_t index) const {
  if (!IsColour(group, index)) return {};
  const uint8_t* stored = PaletteGroups[group][index];
  return {stored[kGroupRed], stored[kGroupGreen], stored[kGroupBlue], 0};
}

RgbQuad SetPalettes::ColourOfGroup(int32_t group, int32_t index) const {
  if (index < 0 || index >= kPaletteColours) return {};
  const uint8_t* stored = PaletteGroups[(group >= 0 && group < kGroupCount) ? group : 0][index];
  return {stored[kGroupBlue], stored[kGroupGreen], stored[kGroupRed], 0};
}

// Numbers outside the slot index: negative ones, ones no cel line named, and the large ones.
uint16_t DollSet::LargeSlotOf(int64_t number) const {
  if (number < kObjectNumberLimit) return 0;
  const auto it = LargeObjectSlots_.find(static_cast<int32_t>(number));
  return it == LargeObjectSlots_.end() ? 0 : it->second;
}

int32_t DollSet::SlotToNumber(int32_t slot) const {
  if (slot <= 0) return 0;  // unused entries of the index hold 0 too
  for (size_t n = 0; n < ObjectSlots_.size(); ++n) {
    if (ObjectSlots_[n] == slot) return static_cast<int32_t>(n);
  }
  for (const auto& [number, largeSlot] : LargeObjectSlots_) {
    if (largeSlot == slot) return number;
  }
  return 0;
}

void DollSet::Reset() {
  CellsUsed_ = 0;
  ObjectsNamed_ = 0;
  Colours_.PaletteCount = 0;
  Colours_.ColourCount = 0;
  Colours_.PaletteFileCount = 0;
  Colours_.GroupCount = 0;
  std::memset(Colours_.PaletteGroups, 0, sizeof Colours_.PaletteGroups);
  Colours_.PaletteBase.fill(0);
  ShownGroup_ = 0;
  ShownSet_ = 255;
  Width_ = 448;
  Height_ = 320;
  InUse_.fill(0);
  Groups_.fill(0);
}

void DollSet::FreeTables() {
  // Every record, not just the first CellCount: Reset may already have zeroed the count.
  for (CellEntry& cell : Cells_) cell.Pixels = std::vector<uint8_t>();
  ObjectSlots_ = std::vector<uint16_t>();
  LargeObjectSlots_.clear();
  Objects_ = std::vector<ObjectEntry>();
  Cells_ = std::vector<CellEntry>();
}

// The slot index goes with the tables: slots of an earlier load would point past the new
// object table.
bool DollSet::MakeTables() {
  ObjectSlots_ = std::vector<uint16_t>();
  LargeObjectSlots_.clear();
  try {
    Objects_ = std::vector<ObjectEntry>(1);
    Cells_ = std::vector<CellEntry>(kMaxCells);
  } catch (const std::bad_alloc&) {
    Objects_ = std::vector<ObjectEntry>();
    Cells_ = std::vector<CellEntry>();
    return false;
  }
  NextObjectSlot_ = 1;
  return true;
}

void DollSet::TakeConfigText(std::vector<char> text) {
  if (text.empty()) {
    Text_ = std::vector<char>();
    return;
  }
  text.push_back('\0');
  Text_ = std::move(text);
}

void DollSet::SetFilePath(SetPath path) { Where_ = std::move(path); }

uint16_t DollSet::EnsureSlot(int32_t number) {
  if (number < 0) return 0;
  ObjectsNamed_ = std::max(ObjectsNamed_, SaturateInt32(int64_t{number} + 1));
  const uint16_t existing = SlotOf(number);
  if (existing != 0) return existing;
  if (NextObjectSlot_ > std::numeric_limits<uint16_t>::max()) return 0;
  const auto slot = static_cast<uint16_t>(NextObjectSlot_++);
  if (number < kObjectNumberLimit) {
    if (ObjectSlots_.size() <= static_cast<size_t>(number)) ObjectSlots_.resize(number + 1, 0);
    ObjectSlots_[number] = slot;
  } else {
    LargeObjectSlots_[number] = slot;
  }
  if (Objects_.size() <= slot) Objects_.resize(slot + 1);
  // Held at 32767 rather than wrapped, so the loader's test for numbers of 1170 and more still
  // sees a large number (object 65,536 must not pass for object 0).
  Objects_[slot].Number = SaturateInt16(number);
  return slot;
}

ObjectEntry* DollSet::ObjectAt(uint16_t slot) {
  return slot != 0 && slot < Objects_.size() ? &Objects_[slot] : nullptr;
}

CellEntry* DollSet::CellAt(int32_t index) {
  const int32_t count = std::min<int32_t>(CellsUsed_, static_cast<int32_t>(Cells_.size()));
  return index >= 0 && index < count ? &Cells_[index] : nullptr;
}

void DollSet::AddFix(uint16_t slot, int32_t fix) {
  ObjectEntry* object = ObjectAt(slot);
  if (object == nullptr) return;
  object->FixTotal = SaturateInt16(int64_t{object->FixTotal} + fix);
  object->FixRemaining = object->FixTotal;
}

bool DollSet::WidenExtent(const CellEntry& cell, int16_t left, int16_t top, int16_t right,
                          int16_t bottom) {
  if (cell.ObjectNumber < 0 || cell.ObjectNumber >= kObjectNumberLimit) return false;
  ObjectEntry* object = ObjectAt(SlotOf(cell.ObjectNumber));
  if (object == nullptr || object->Number < 0 || object->Number >= kObjectNumberLimit) {
    return false;
  }
  if ((object->Flags & kHasExtent) == 0) {
    object->Flags |= kHasExtent;
    object->ExtentLeft = left;
    object->ExtentTop = top;
    object->ExtentRight = right;
    object->ExtentBottom = bottom;
    return true;
  }
  object->ExtentLeft = std::min(object->ExtentLeft, left);
  object->ExtentTop = std::min(object->ExtentTop, top);
  object->ExtentRight = std::max(object->ExtentRight, right);
  object->ExtentBottom = std::max(object->ExtentBottom, bottom);
  return true;
}

int32_t DollSet::AddCell(CellEntry cell) {
  if (CellsUsed_ < 0 || static_cast<size_t>(CellsUsed_) >= Cells_.size()) return -1;
  // A cel added while a set is shown shows its object, as applying the set would.
  if (IsSet(ShownSet_) && (cell.SetMask & (1u << ShownSet_)) != 0) {
    if (ObjectEntry* object = ObjectAt(SlotOf(cell.ObjectNumber))) object->Flags |= kInCurrentSet;
  }
  Cells_[CellsUsed_] = std::move(cell);
  return CellsUsed_++;
}

void DollSet::MarkSetsInUse(uint32_t mask) {
  for (int set = 0; set < kSetCount; ++set) {
    if (mask & (1u << set)) InUse_[set] = 1;
  }
}

int32_t DollSet::AddPaletteLine(const char* name) {
  if (Colours_.PaletteCount >= kMaxPaletteLines) return -1;
  auto& field = Colours_.PaletteNames[Colours_.PaletteCount];
  const size_t length = strnlen(name, field.size() - 1);
  std::memcpy(field.data(), name, length);
  field[length] = '\0';
  return Colours_.PaletteCount++;
}

void DollSet::StoreGroupColour(int32_t group, int32_t index, uint8_t red, uint8_t green,
                               uint8_t blue) {
  if (!IsColour(group, index)) return;
  uint8_t* stored = Colours_.PaletteGroups[group][index];
  stored[kGroupBlue] = blue;
  stored[kGroupRed] = red;
  stored[kGroupGreen] = green;
}

void DollSet::FinishPaletteFile(int32_t number, int32_t base, int32_t added, int32_t groups) {
  if (number < 0 || number >= static_cast<int32_t>(Colours_.PaletteBase.size())) return;
  const int32_t skip = number != 0 ? 1 : 0;
  Colours_.PaletteBase[number] = static_cast<uint8_t>(base - skip);
  Colours_.ColourCount = std::min(kPaletteColours, base + added);
  Colours_.PaletteFileCount = number + 1;
  Colours_.GroupCount = std::max(Colours_.GroupCount, groups);
  // Groups the file lacks show its first group, so switching groups never blanks its colours.
  for (int32_t g = std::max(groups, 0); g < kGroupCount; ++g) {
    for (int32_t i = std::max(base, 0); i < Colours_.ColourCount; ++i) {
      std::memcpy(Colours_.PaletteGroups[g][i], Colours_.PaletteGroups[0][i], 3);
    }
  }
}

void DollSet::ReplacePalettes(const SetPalettes& palettes) {
  Colours_.PaletteNames = palettes.PaletteNames;
  Colours_.PaletteBase = palettes.PaletteBase;
  Colours_.PaletteFileCount = palettes.PaletteFileCount;
  Colours_.PaletteCount = palettes.PaletteCount;
  Colours_.ColourCount = palettes.ColourCount;
  Colours_.GroupCount = palettes.GroupCount;
}

void DollSet::SetPlayfieldSize(int32_t width, int32_t height) {
  if (width > 0) Width_ = std::min(width, kMaxPlayfieldWidth);
  if (height > 0) Height_ = std::min(height, kMaxPlayfieldHeight);
}

void DollSet::ChangeGroupOfSet(int32_t set, int32_t group) {
  if (IsSet(set)) Groups_[set] = SaturateInt16(group);
}

void DollSet::LeaveCurrentSet() {
  if (!IsSet(ShownSet_)) return;
  // Objects may have been dragged or moved by scripts since the set was shown.
  ForEachObject([&](int32_t, uint16_t slot) {
    ObjectEntry* object = ObjectAt(slot);
    if (object == nullptr) return;
    const bool shown = (object->Flags & kInCurrentSet) != 0;
    object->SetX[ShownSet_] = shown ? object->X : int16_t{0};
    object->SetY[ShownSet_] = shown ? object->Y : int16_t{0};
  });
  Groups_[ShownSet_] = static_cast<int16_t>(ShownGroup_);
}

void DollSet::EnterSet(int32_t set) {
  if (!IsSet(set)) return;
  ShownGroup_ = Groups_[set];
  for (ObjectEntry& object : Objects_) object.Flags &= static_cast<uint8_t>(~kInCurrentSet);
  const uint32_t setBit = 1u << set;
  const int32_t count =
      std::min<int32_t>(std::max(CellsUsed_, 0), static_cast<int32_t>(Cells_.size()));
  for (int32_t i = 0; i < count; ++i) {
    if ((Cells_[i].SetMask & setBit) == 0) continue;
    if (ObjectEntry* object = ObjectAt(SlotOf(Cells_[i].ObjectNumber))) {
      object->Flags |= kInCurrentSet;
    }
  }
  for (ObjectEntry& object : Objects_) {
    if ((object.Flags & kInCurrentSet) == 0) continue;
    object.X = PullInside(object.SetX[set], object.ExtentRight, Width_);
    object.Y = PullInside(object.SetY[set], object.ExtentBottom, Height_);
  }
  ShownSet_ = set;
}

void DollSet::PlaceObject(uint16_t slot, int32_t x, int32_t y) {
  ObjectEntry* object = ObjectAt(slot);
  if (object == nullptr) return;
  object->X = static_cast<int16_t>(x);
  object->Y = static_cast<int16_t>(y);
}

void DollSet::StoreSetPosition(uint16_t slot, int32_t set, int32_t x, int32_t y) {
  ObjectEntry* object = ObjectAt(slot);
  if (object == nullptr || !IsSet(set)) return;
  object->SetX[set] = SaturateInt16(x);
  object->SetY[set] = SaturateInt16(y);
}

void DollSet::SetFix(uint16_t slot, int32_t total, int32_t remaining) {
  ObjectEntry* object = ObjectAt(slot);
  if (object == nullptr) return;
  object->FixTotal = SaturateInt16(total);
  object->FixRemaining = SaturateInt16(remaining);
}

void DollSet::SetCellShown(int32_t index, bool shown) {
  if (CellEntry* cell = CellAt(index)) cell->Unmapped = shown ? 0 : 1;
}

void DollSet::SetCellTransparency(int32_t index, int32_t transparency) {
  if (CellEntry* cell = CellAt(index)) cell->Transparency = SaturateInt16(transparency);
}

void DollSet::AttachPixels(int32_t index, std::vector<uint8_t> pixels, uint16_t width,
                           uint16_t height, uint8_t bitsPerPixel) {
  if (index < 0 || static_cast<size_t>(index) >= Cells_.size()) return;
  CellEntry* cell = &Cells_[index];
  cell->Pixels = std::move(pixels);
  cell->Width = width;
  cell->Height = height;
  cell->BitsPerPixel = bitsPerPixel;
}

void DollSet::FinishLoadedCel(int32_t index, std::vector<uint8_t> pixels, uint16_t width,
                              uint16_t height, int16_t offsetX, int16_t offsetY,
                              uint8_t bitsPerPixel, uint16_t setMask) {
  CellEntry* cell = CellAt(index);
  if (cell == nullptr) return;
  AttachPixels(index, std::move(pixels), width, height, bitsPerPixel);
  cell->OffsetX = offsetX;
  cell->OffsetY = offsetY;
  cell->SetMask = setMask;
  if (IsSet(ShownSet_) && (setMask & (1u << ShownSet_)) != 0) {
    if (ObjectEntry* object = ObjectAt(SlotOf(cell->ObjectNumber))) object->Flags |= kInCurrentSet;
  }
}

}  // namespace tavro
