// A hand-made set in a document, built through the set's own operations, so tests of composing,
// picking, dragging, scripts and inspection need neither cel files nor the loader.
//
// Pixel grids are given top row first, as a person draws them: one byte a pixel for 8-bit cels,
// blue, green, red and alpha for 32-bit ones (bits 24).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "document/CTavroDoc.h"

namespace tavro::test {

class SetBuilder {
 public:
  explicit SetBuilder(CTavroDoc& doc) : Doc_(doc) {}

  // Fresh, empty tables (kMaxCells cel records, object record 0, no slots); the rest of the set
  // stays as it is. Cels can be added only once there are tables.
  void Tables() { Set().MakeTables(); }

  // For the odd operation the builder does not wrap.
  DollSet& Set() { return Doc_.EditSet(); }

  void Playfield(int width, int height);
  // A cel of `object` with its pixels; widens the object's extent, marks its sets in use and, when
  // the shown set is one of them, shows the object. Returns the cel's index.
  int AddCel(int object, int width, int height, const std::vector<uint8_t>& topDown,
             uint16_t setMask = 0xFFFF, int offsetX = 0, int offsetY = 0, int bits = 8);
  // A cel named `name` with a width x height box at its object's origin but no pixels, as
  // scripts see cels.
  int AddNamedCel(int object, const std::string& name, uint16_t setMask = 0xFFFF, int width = 10,
                  int height = 10);
  // A cel line whose file did not load: no pixels, in no set, its object given a slot but no
  // extent.
  int AddUnloadedCel(int object);
  // The object's slot, given if it has none.
  uint16_t Slot(int object) { return Set().EnsureSlot(object); }
  // The object's position now and, when a set is shown, its stored position there.
  void Place(int object, int x, int y);
  // The same stored position in every set.
  void PlaceEverywhere(int object, int x, int y);
  // Only where the object stands now (as a drag or a script leaves it), or only its stored
  // position in one set.
  void Move(int object, int x, int y) { Set().PlaceObject(Slot(object), x, y); }
  void StorePosition(int object, int set, int x, int y) {
    Set().StoreSetPosition(Slot(object), set, x, y);
  }
  // Widens the object's extent as a cel at that box would.
  void Extent(int object, int left, int top, int right, int bottom);
  // The colour group set `set` brings.
  void Group(int set, int group) { Set().ChangeGroupOfSet(set, group); }
  void Show(int cel, bool shown) { Set().SetCellShown(cel, shown); }
  void Transparency(int cel, int level) { Set().SetCellTransparency(cel, level); }
  // Replaces a cel's pixels, stored bottom row first, keeping its size (a file that failed, a
  // cel with too few pixels).
  void Pixels(int cel, std::vector<uint8_t> bottomUp);
  void Fix(int object, int total, int remaining) { Set().SetFix(Slot(object), total, remaining); }
  void Colour(int group, int index, uint8_t r, uint8_t g, uint8_t b) {
    Set().StoreGroupColour(group, index, r, g, b);
  }
  // Palette records as palette lines would leave them, taken as given (even out of range).
  void ColourCount(int colours);
  void GroupCount(int groups);
  void PaletteFileCount(int files);
  void PaletteBase(int number, int base);
  // The shown set and group, without applying the set.
  void Current(int set, int group = 0) { Set().SetCurrent(set, group); }
  void Text(const std::string& text) { Set().TakeConfigText({text.begin(), text.end()}); }
  void Directory(const std::string& directory) { Set().SetFilePath({directory, "", ""}); }

 private:
  template <typename Change>
  void ChangePalettes(Change&& change) {
    SetPalettes palettes = Doc_.Set().Palettes();
    change(palettes);
    Set().ReplacePalettes(palettes);
  }

  CTavroDoc& Doc_;
};

}  // namespace tavro::test
