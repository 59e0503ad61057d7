// DollSet: the state of one loaded doll set.
//
// The cel and object tables with every cel's pixels, the object numbers' slots, the palettes and
// colour groups, the ten set positions and their colour groups, the current set and group, the
// playfield size, the configuration text as read and where it came from. Everyone else reads it
// through the const accessors; it changes only through the named operations below, each of which
// keeps the tables consistent (a slot always has its object record, a cel index past the table
// changes nothing).
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "set/SetRecords.h"

namespace tavro {

// The palette files and the colour groups they filled.
struct SetPalettes {
  std::array<std::array<char, kPaletteNameField>, kMaxPaletteLines> PaletteNames = {};
  std::array<uint8_t, 256> PaletteBase = {};  // first colour index of each palette file
  int32_t PaletteFileCount = 0;               // one past the last palette file that loaded
  int32_t PaletteCount = 0;                   // '%' lines taken
  int32_t ColourCount = 0;                    // 0..256
  int32_t GroupCount = 0;                     // groups the largest palette file declares
  // Each colour as blue, red, green, the order the tables have always kept; read colours through
  // GroupColour and ColourOfGroup rather than by byte position.
  uint8_t PaletteGroups[kGroupCount][kPaletteColours][3] = {};
  // Colour `index` of colour group `group`; black for a group or index out of range.
  PaletteEntry GroupColour(int32_t group, int32_t index) const;
  // The same as blue, green, red; a group outside 0..9 reads group 0, since set lines and menus
  // hand groups over unchecked.
  RgbQuad ColourOfGroup(int32_t group, int32_t index) const;
};

// Where the configuration file lives.
struct SetPath {
  std::string SetDirectory;  // with trailing '/'
  std::string SetBaseName;
  std::string SetExtension;  // with its dot
};

class DollSet {
 public:
  // ---- reading ----
  // kMaxCells records while a set is loaded (empty = none); the first CellCount are cel lines.
  const std::vector<CellEntry>& CellTable() const { return Cells_; }
  int32_t CellCount() const { return CellsUsed_; }
  // Record 0 plus one per slot; empty = none.
  const std::vector<ObjectEntry>& ObjectTable() const { return Objects_; }
  // One past the highest object number a cel line named (however large).
  int32_t ObjectCount() const { return ObjectsNamed_; }
  // Slot of an object number; 0 = no object with that number (also for negative numbers).
  uint16_t SlotOf(int64_t number) const {
    if (number >= 0 && number < static_cast<int64_t>(ObjectSlots_.size()))
      return ObjectSlots_[number];
    return LargeSlotOf(number);
  }
  // Entries of the direct index of slots; it never reaches past the valid object numbers, however
  // large the numbers the cel lines name.
  size_t SlotIndexSize() const { return ObjectSlots_.size(); }
  // Lowest object number whose slot is `slot`; 0 when none.
  int32_t SlotToNumber(int32_t slot) const;
  // Calls fn(number, slot) for every object number that has a slot, in ascending number order.
  // This is how loops "over object numbers 0 to ObjectCount-1" are written: it skips the gaps
  // without walking them, however large ObjectCount is.
  template <typename Fn>
  void ForEachObject(Fn&& fn) const {
    for (size_t n = 0; n < ObjectSlots_.size(); ++n) {
      if (ObjectSlots_[n] != 0) fn(static_cast<int32_t>(n), ObjectSlots_[n]);
    }
    for (const auto& [number, slot] : LargeObjectSlots_) fn(number, slot);
  }
  const SetPalettes& Palettes() const { return Colours_; }
  // The shown set (255 before the first is applied) and colour group.
  int32_t CurrentSet() const { return ShownSet_; }
  int32_t CurrentGroup() const { return ShownGroup_; }
  // Per set: its colour group as the set line gave it, and whether a cel belongs to it (0 and
  // false for a number that is no set).
  int32_t GroupOfSet(int32_t set) const { return set >= 0 && set < kSetCount ? Groups_[set] : 0; }
  bool IsSetInUse(int32_t set) const { return set >= 0 && set < kSetCount && InUse_[set] != 0; }
  int32_t PlayfieldWidth() const { return Width_; }
  int32_t PlayfieldHeight() const { return Height_; }
  // The file as read plus a terminating zero (empty = none), and its length without the zero.
  const std::vector<char>& ConfigText() const { return Text_; }
  int32_t ConfigTextLength() const {
    return Text_.empty() ? 0 : static_cast<int32_t>(Text_.size() - 1);
  }
  const SetPath& Path() const { return Where_; }

  // ---- life cycle ----
  // The defaults of an empty set; the tables, the text and the path stay.
  void Reset();
  // Frees the tables, every cel's pixels and the slots.
  void FreeTables();
  // Fresh zero-filled tables (kMaxCells cels, object record 0) and no slots; false, with no
  // tables, when there is no memory for them.
  bool MakeTables();
  // The configuration text; a terminating zero is added. An empty text is none.
  void TakeConfigText(std::vector<char> text);
  void SetFilePath(SetPath path);

  // ---- loading ----
  // Gives `number` a slot if it has none (in order of arrival); returns the slot, or 0 when no
  // more slots can be handed out. ObjectCount grows to number + 1.
  uint16_t EnsureSlot(int32_t number);
  // Adds a cel line's fix value to its object (the remaining count starts full again).
  void AddFix(uint16_t slot, int32_t fix);
  // Widens the extent of the object of a cel (cel offsets, right and bottom exclusive). Nothing
  // happens for a cel whose object number is not a valid one (1170 or more, negative); that is
  // also what the return value says.
  bool WidenExtent(const CellEntry& cell, int16_t left, int16_t top, int16_t right, int16_t bottom);
  // Appends a cel record; its index, or -1 when the table is full or missing.
  int32_t AddCell(CellEntry cell);
  // A cel whose file was decoded after its line joined the table at `index`: its pixels (as
  // AttachPixels takes them), its offset within its object and the sets it belongs to, which
  // show its object when the shown set is among them, as AddCell would have.
  void FinishLoadedCel(int32_t index, std::vector<uint8_t> pixels, uint16_t width, uint16_t height,
                       int16_t offsetX, int16_t offsetY, uint8_t bitsPerPixel, uint16_t setMask);
  // Sets 0..9 of `mask` are in use (a cel line names them, whether or not its cel loads).
  void MarkSetsInUse(uint32_t mask);
  // A '%' line: returns the palette number it uses up, or -1 when 32 are taken already.
  int32_t AddPaletteLine(const char* name);
  // Colour `index` of colour group `group`; out of range does nothing.
  void StoreGroupColour(int32_t group, int32_t index, uint8_t red, uint8_t green, uint8_t blue);
  // After palette file `number` has stored its colours from `base` on: records where it starts,
  // the colours and groups it added, and copies group 0's new colours into the groups it lacks.
  void FinishPaletteFile(int32_t number, int32_t base, int32_t added, int32_t groups);
  // The palette records wholesale (not the colours), as a hand-made set gives them.
  void ReplacePalettes(const SetPalettes& palettes);
  // Width and height are bounded by the largest playfield; values of 0 and less keep the size.
  void SetPlayfieldSize(int32_t width, int32_t height);
  void ChangeGroupOfSet(int32_t set, int32_t group);

  // ---- while a set is shown ----
  // Leaving the shown set: its entries take the positions shown now (an object not shown in it
  // keeps no position there) and its colour group the current one. Nothing when no set is shown.
  void LeaveCurrentSet();
  // Showing set `set` (0..9; others do nothing): its colour group becomes current, the objects
  // with a cel in it are marked shown and stand at its positions, pulled back inside the
  // playfield where they would hang past the right or bottom edge.
  void EnterSet(int32_t set);
  // The shown set and colour group as they are, without applying anything.
  void SetCurrent(int32_t set, int32_t group) {
    ShownSet_ = set;
    ShownGroup_ = group;
  }
  // Where an object stands now; an object without a record is left alone.
  void PlaceObject(uint16_t slot, int32_t x, int32_t y);
  // An object's stored position in set `set` (0..9).
  void StoreSetPosition(uint16_t slot, int32_t set, int32_t x, int32_t y);
  // Fix counter of an object: its total and what is left of it.
  void SetFix(uint16_t slot, int32_t total, int32_t remaining);
  void SetCellShown(int32_t index, bool shown);
  void SetCellTransparency(int32_t index, int32_t transparency);
  // Decoded pixels for cel record `index` of the table (counted or not), stored bottom row first
  // (1 byte a pixel, 4 for 32-bit cels).
  void AttachPixels(int32_t index, std::vector<uint8_t> pixels, uint16_t width, uint16_t height,
                    uint8_t bitsPerPixel);

 private:
  uint16_t LargeSlotOf(int64_t number) const;

  std::vector<CellEntry> Cells_;
  int32_t CellsUsed_ = 0;
  std::vector<ObjectEntry> Objects_;
  int32_t ObjectsNamed_ = 0;
  std::vector<uint16_t> ObjectSlots_;  // slot of each object number below kObjectNumberLimit
  // Object numbers of kObjectNumberLimit and above. Such numbers are rejected when their cel
  // loads, but their cel line still hands out a slot; keeping them here bounds ObjectSlots.
  std::map<int32_t, uint16_t> LargeObjectSlots_;
  int32_t NextObjectSlot_ = 1;
  SetPalettes Colours_;
  std::array<int16_t, kSetCount> Groups_ = {};
  std::array<int32_t, kSetCount> InUse_ = {};
  int32_t ShownSet_ = 255;
  int32_t ShownGroup_ = 0;
  int32_t Width_ = 448;
  int32_t Height_ = 320;
  std::vector<char> Text_;
  SetPath Where_;

  ObjectEntry* ObjectAt(uint16_t slot);
  CellEntry* CellAt(int32_t index);
};

}  // namespace tavro
