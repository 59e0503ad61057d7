// A document filled by hand, so composition can be checked pixel by pixel without the loader or
// the decoders. Pixel grids are written top row first, as a person draws them.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "document/CTavroDoc.h"
#include "support/FakeHost.h"

namespace tavro::test {

struct Bgr {
  uint8_t b = 0, g = 0, r = 0;
  bool operator==(const Bgr&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const Bgr& c) {
  return out << "(b" << int{c.b} << " g" << int{c.g} << " r" << int{c.r} << ")";
}

class ComposerFixture : public ::testing::Test {
 protected:
  FakeHost host;
  CTavroDoc doc{host};

  // A playfield with its map allocated in the given form; the set is marked loaded.
  void Playfield(int width, int height, bool trueColour = false) {
    doc.PlayfieldWidth = width;
    doc.PlayfieldHeight = height;
    doc.SetMapSize((width + 3) & ~3, height);
    doc.SetTrueColourMode(trueColour);
    doc.AllocateMap(doc.Map().TrueColourMode());
    doc.SetLoaded = true;
    doc.ObjectTable.resize(1);
  }

  void SetColour(int group, int index, uint8_t r, uint8_t g, uint8_t b) {
    doc.StoreGroupColour(group, index, r, g, b);
  }

  // An indexed cel of `object` at (offsetX, offsetY) inside it; returns its cell index.
  int AddCel(int object, int width, int height, const std::vector<uint8_t>& topDown,
             uint16_t setMask = 0xFFFF, int offsetX = 0, int offsetY = 0) {
    CellEntry& cell = NewCell(object, width, height, setMask, offsetX, offsetY, 8);
    cell.Pixels.assign(static_cast<size_t>(width) * height, 0);
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        cell.Pixels[static_cast<size_t>(height - 1 - y) * width + x] = topDown.at(y * width + x);
      }
    }
    return doc.CellCount - 1;
  }

  // A 32-bit cel; each pixel given as blue, green, red, alpha.
  int AddAlphaCel(int object, int width, int height, const std::vector<uint8_t>& topDownBgra,
                  uint16_t setMask = 0xFFFF) {
    CellEntry& cell = NewCell(object, width, height, setMask, 0, 0, 24);
    cell.Pixels.assign(static_cast<size_t>(width) * height * 4, 0);
    for (int y = 0; y < height; ++y) {
      for (int i = 0; i < width * 4; ++i) {
        cell.Pixels[static_cast<size_t>(height - 1 - y) * width * 4 + i] =
            topDownBgra.at(y * width * 4 + i);
      }
    }
    return doc.CellCount - 1;
  }

  ObjectEntry& Object(int number) { return doc.ObjectTable[doc.SlotOf(number)]; }

  // Gives the object the same stored position in every set.
  void PlaceEverywhere(int number, int16_t x, int16_t y) {
    ObjectEntry& object = Object(number);
    object.SetX.fill(x);
    object.SetY.fill(y);
  }

  void ShowSet(int set) { doc.SwitchSet(set); }

  uint8_t IndexAt(int x, int y) const {
    return doc.Map().Bytes().at(
        static_cast<size_t>(doc.Map().Height() - 1 - y) * doc.Map().Stride() + x);
  }

  Bgr ColourAt(int x, int y) const {
    const size_t at =
        (static_cast<size_t>(doc.Map().Height() - 1 - y) * doc.Map().Stride() + x) * 3;
    return {doc.Map().Bytes().at(at), doc.Map().Bytes().at(at + 1), doc.Map().Bytes().at(at + 2)};
  }

  // Row y of an 8-bit map, playfield columns only.
  std::vector<uint8_t> IndexRow(int y) const {
    std::vector<uint8_t> row;
    for (int x = 0; x < doc.PlayfieldWidth; ++x) row.push_back(IndexAt(x, y));
    return row;
  }

 private:
  CellEntry& NewCell(int object, int width, int height, uint16_t setMask, int offsetX, int offsetY,
                     uint8_t bits) {
    const uint16_t slot = doc.EnsureSlot(object);
    doc.ObjectCount = std::max(doc.ObjectCount, object + 1);
    doc.CellTable.emplace_back();
    doc.CellCount = static_cast<int32_t>(doc.CellTable.size());
    CellEntry& cell = doc.CellTable.back();
    cell.ObjectNumber = static_cast<int16_t>(object);
    cell.Width = static_cast<uint16_t>(width);
    cell.Height = static_cast<uint16_t>(height);
    cell.OffsetX = static_cast<int16_t>(offsetX);
    cell.OffsetY = static_cast<int16_t>(offsetY);
    cell.SetMask = setMask;
    cell.BitsPerPixel = bits;
    WidenExtent(doc.ObjectTable[slot], offsetX, offsetY, width, height);
    return cell;
  }

  static void WidenExtent(ObjectEntry& o, int x, int y, int w, int h) {
    if ((o.Flags & kHasExtent) == 0) {
      o.Flags |= kHasExtent;
      o.ExtentLeft = static_cast<int16_t>(x);
      o.ExtentTop = static_cast<int16_t>(y);
      o.ExtentRight = static_cast<int16_t>(x + w);
      o.ExtentBottom = static_cast<int16_t>(y + h);
      return;
    }
    o.ExtentLeft = static_cast<int16_t>(std::min<int>(o.ExtentLeft, x));
    o.ExtentTop = static_cast<int16_t>(std::min<int>(o.ExtentTop, y));
    o.ExtentRight = static_cast<int16_t>(std::max<int>(o.ExtentRight, x + w));
    o.ExtentBottom = static_cast<int16_t>(std::max<int>(o.ExtentBottom, y + h));
  }
};

}  // namespace tavro::test
