#include "support/SetBuilder.h"

#include <cstring>

namespace tavro::test {

void SetBuilder::Playfield(int width, int height) { Set().SetPlayfieldSize(width, height); }

int SetBuilder::AddCel(int object, int width, int height, const std::vector<uint8_t>& topDown,
                       uint16_t setMask, int offsetX, int offsetY, int bits) {
  CellEntry cell;
  cell.ObjectNumber = static_cast<int16_t>(object);
  cell.Width = static_cast<uint16_t>(width);
  cell.Height = static_cast<uint16_t>(height);
  cell.OffsetX = static_cast<int16_t>(offsetX);
  cell.OffsetY = static_cast<int16_t>(offsetY);
  cell.SetMask = setMask;
  cell.BitsPerPixel = static_cast<uint8_t>(bits);
  const size_t rowBytes = static_cast<size_t>(width) * (bits == 24 ? 4 : 1);
  for (int row = height - 1; row >= 0; --row) {  // stored bottom-up
    const auto begin = topDown.begin() + static_cast<std::ptrdiff_t>(row * rowBytes);
    cell.Pixels.insert(cell.Pixels.end(), begin, begin + static_cast<std::ptrdiff_t>(rowBytes));
  }
  Slot(object);
  Set().WidenExtent(cell, cell.OffsetX, cell.OffsetY, static_cast<int16_t>(offsetX + width),
                    static_cast<int16_t>(offsetY + height));
  Set().MarkSetsInUse(setMask);
  return Set().AddCell(std::move(cell));
}

int SetBuilder::AddNamedCel(int object, const std::string& name, uint16_t setMask, int width,
                            int height) {
  CellEntry cell;
  cell.ObjectNumber = static_cast<int16_t>(object);
  cell.SetMask = setMask;
  cell.Width = static_cast<uint16_t>(width);
  cell.Height = static_cast<uint16_t>(height);
  std::strncpy(cell.FileName, name.c_str(), kTokenLength);
  Slot(object);
  Set().WidenExtent(cell, 0, 0, static_cast<int16_t>(width), static_cast<int16_t>(height));
  Set().MarkSetsInUse(setMask);
  return Set().AddCell(std::move(cell));
}

int SetBuilder::AddUnloadedCel(int object) {
  CellEntry cell;
  cell.ObjectNumber = static_cast<int16_t>(object);
  Slot(object);
  return Set().AddCell(std::move(cell));
}

void SetBuilder::Place(int object, int x, int y) {
  const uint16_t slot = Slot(object);
  Set().PlaceObject(slot, x, y);
  Set().StoreSetPosition(slot, Doc_.Set().CurrentSet(), x, y);
}

void SetBuilder::PlaceEverywhere(int object, int x, int y) {
  const uint16_t slot = Slot(object);
  for (int set = 0; set < kSetCount; ++set) Set().StoreSetPosition(slot, set, x, y);
}

void SetBuilder::Pixels(int cel, std::vector<uint8_t> bottomUp) {
  const CellEntry& cell = Doc_.Set().CellTable().at(static_cast<size_t>(cel));
  Set().AttachPixels(cel, std::move(bottomUp), cell.Width, cell.Height, cell.BitsPerPixel);
}

void SetBuilder::Extent(int object, int left, int top, int right, int bottom) {
  CellEntry cell;
  cell.ObjectNumber = static_cast<int16_t>(object);
  Slot(object);
  Set().WidenExtent(cell, static_cast<int16_t>(left), static_cast<int16_t>(top),
                    static_cast<int16_t>(right), static_cast<int16_t>(bottom));
}

void SetBuilder::ColourCount(int colours) {
  ChangePalettes([&](SetPalettes& p) { p.ColourCount = colours; });
}

void SetBuilder::GroupCount(int groups) {
  ChangePalettes([&](SetPalettes& p) { p.GroupCount = groups; });
}

void SetBuilder::PaletteFileCount(int files) {
  ChangePalettes([&](SetPalettes& p) { p.PaletteFileCount = files; });
}

void SetBuilder::PaletteBase(int number, int base) {
  ChangePalettes([&](SetPalettes& p) { p.PaletteBase.at(number) = static_cast<uint8_t>(base); });
}

}  // namespace tavro::test
