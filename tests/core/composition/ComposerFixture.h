// A document filled by hand, so composition can be checked pixel by pixel without the loader or
// the decoders. Pixel grids are written top row first, as a person draws them.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "composition/Composer.h"
#include "document/CTavroDoc.h"
#include "support/FakeHost.h"
#include "support/SetBuilder.h"

namespace tavro::test {

struct Bgr {
  uint8_t B = 0, G = 0, R = 0;
  bool operator==(const Bgr&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const Bgr& c) {
  return out << "(b" << int{c.B} << " g" << int{c.G} << " r" << int{c.R} << ")";
}

class ComposerFixture : public ::testing::Test {
 protected:
  FakeHost host_;
  CTavroDoc doc_{host_};
  SetBuilder build_{doc_};

  ComposerFixture() { build_.Tables(); }

  // A playfield with its map allocated in the given form; the set is marked loaded.
  void Playfield(int width, int height, bool trueColour = false) {
    build_.Playfield(width, height);
    doc_.EditMap().SetSize(width, height);
    doc_.EditMap().SetTrueColourMode(trueColour);
    doc_.EditMap().Allocate(doc_.Map().TrueColourMode());
    doc_.MarkSetLoaded(true);
  }

  // Recomposes a span of the map from the set, as the document does after a change.
  void ComposeRect(int64_t left, int64_t top, int64_t width, int64_t height) {
    compose::ComposeRect(doc_.Set(), doc_.EditMap(), compose::RectOfSpan(left, top, width, height),
                         doc_.Pointer().HeldSlot());
  }

  void SetColour(int group, int index, uint8_t r, uint8_t g, uint8_t b) {
    build_.Colour(group, index, r, g, b);
  }

  // An indexed cel of `object` at (offsetX, offsetY) inside it; returns its cell index.
  int AddCel(int object, int width, int height, const std::vector<uint8_t>& topDown,
             uint16_t setMask = 0xFFFF, int offsetX = 0, int offsetY = 0) {
    return build_.AddCel(object, width, height, topDown, setMask, offsetX, offsetY);
  }

  // A 32-bit cel; each pixel given as blue, green, red, alpha.
  int AddAlphaCel(int object, int width, int height, const std::vector<uint8_t>& topDownBgra,
                  uint16_t setMask = 0xFFFF) {
    return build_.AddCel(object, width, height, topDownBgra, setMask, 0, 0, 24);
  }

  const ObjectEntry& Object(int number) const {
    return doc_.Set().ObjectTable()[doc_.Set().SlotOf(number)];
  }

  // Gives the object the same stored position in every set.
  void PlaceEverywhere(int number, int16_t x, int16_t y) { build_.PlaceEverywhere(number, x, y); }

  void ShowSet(int set) { doc_.SwitchSet(set); }

  uint8_t IndexAt(int x, int y) const {
    return doc_.Map().Bytes().at(static_cast<size_t>(y) * doc_.Map().Stride() + x);
  }

  Bgr ColourAt(int x, int y) const {
    // The map holds red, green, blue, 255.
    const size_t at = (static_cast<size_t>(y) * doc_.Map().Stride() + x) * 4;
    EXPECT_EQ(doc_.Map().Bytes().at(at + 3), 255);
    return {doc_.Map().Bytes().at(at + 2), doc_.Map().Bytes().at(at + 1),
            doc_.Map().Bytes().at(at)};
  }

  // Row y of an 8-bit map, playfield columns only.
  std::vector<uint8_t> IndexRow(int y) const {
    std::vector<uint8_t> row;
    for (int x = 0; x < doc_.Set().PlayfieldWidth(); ++x) row.push_back(IndexAt(x, y));
    return row;
  }
};

}  // namespace tavro::test
