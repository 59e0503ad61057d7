// A document whose tables are filled by hand, for tests of picking, dragging and inspection
// that need neither cel files nor the loader.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "document/CTavroDoc.h"
#include "interaction/FixOverride.h"
#include "support/FakeHost.h"

namespace tavro::test {

class HandBuiltSet {
 public:
  FakeHost host;
  CTavroDoc doc{host};
  FixOverrideState fixOverride;

  HandBuiltSet() {
    doc.Pointer().UseFixOverride(&fixOverride);
    doc.CellTable.resize(kMaxCells);
    doc.ObjectTable.resize(1);
    doc.CurrentSet = 0;
    doc.SetMapSize(448, 320);
    doc.Pointer().SetBounds(0, 0, doc.PlayfieldWidth, doc.PlayfieldHeight);
    doc.SetLoaded = true;
  }

  // Adds a cel line's record: pixels top row first (one byte a pixel, or four for 32-bit cels).
  int AddCel(int object, int width, int height, const std::vector<uint8_t>& topDown,
             uint16_t setMask = 0xFFFF, int offsetX = 0, int offsetY = 0, int bits = 8) {
    const int index = doc.CellCount++;
    CellEntry& cell = doc.CellTable[index];
    const uint16_t slot = doc.EnsureSlot(object);
    doc.ObjectCount = std::max(doc.ObjectCount, object + 1);
    cell.ObjectNumber = static_cast<int16_t>(object);
    cell.Width = static_cast<uint16_t>(width);
    cell.Height = static_cast<uint16_t>(height);
    cell.OffsetX = static_cast<int16_t>(offsetX);
    cell.OffsetY = static_cast<int16_t>(offsetY);
    cell.SetMask = setMask;
    cell.BitsPerPixel = static_cast<uint8_t>(bits);
    const size_t rowBytes = static_cast<size_t>(width) * (bits == 24 ? 4 : 1);
    for (int row = height - 1; row >= 0; --row) {  // stored bottom-up
      cell.Pixels.insert(cell.Pixels.end(), topDown.begin() + row * rowBytes,
                         topDown.begin() + (row + 1) * rowBytes);
    }
    ObjectEntry& o = doc.ObjectTable[slot];
    const bool first = (o.Flags & kHasExtent) == 0;
    o.ExtentLeft = static_cast<int16_t>(first ? offsetX : std::min<int>(o.ExtentLeft, offsetX));
    o.ExtentTop = static_cast<int16_t>(first ? offsetY : std::min<int>(o.ExtentTop, offsetY));
    o.ExtentRight = static_cast<int16_t>(first ? offsetX + width
                                               : std::max<int>(o.ExtentRight, offsetX + width));
    o.ExtentBottom = static_cast<int16_t>(first ? offsetY + height
                                                : std::max<int>(o.ExtentBottom, offsetY + height));
    o.Flags |= kHasExtent;
    if (setMask & (1u << doc.CurrentSet)) o.Flags |= kInCurrentSet;
    for (int s = 0; s < kSetCount; ++s) {
      if (setMask & (1u << s)) doc.SetInUse[s] = 1;
    }
    return index;
  }

  // A solid square cel of colour 1.
  int AddSquare(int object, int size, uint16_t setMask = 0xFFFF) {
    return AddCel(object, size, size, std::vector<uint8_t>(size * size, 1), setMask);
  }

  ObjectEntry& Object(int number) { return doc.ObjectTable[doc.SlotOf(number)]; }

  // Puts an object at (x, y) now and as its stored position in the current set.
  void Place(int number, int x, int y) {
    ObjectEntry& o = Object(number);
    o.X = static_cast<int16_t>(x);
    o.Y = static_cast<int16_t>(y);
    o.SetX[doc.CurrentSet] = o.X;
    o.SetY[doc.CurrentSet] = o.Y;
  }

  void SetFix(int number, int total, int remaining) {
    Object(number).FixTotal = static_cast<int16_t>(total);
    Object(number).FixRemaining = static_cast<int16_t>(remaining);
  }

  void PointAt(int x, int y) { doc.Pointer().Track(x, y, 0, 0); }

  // A "debug(" action bound to (event, argument) whose text names it; running the event shows
  // the text through the Host, so the messages record the order events were raised in.
  void BindDebug(int event, int argument, const std::string& text) {
    std::vector<uint8_t> arguments(text.begin(), text.end());
    arguments.push_back(0);
    doc.Scripts().AppendAction(event, argument, 104, arguments);
  }

  // Whether event records run; a broken script engine fails the tests that need it.
  bool ScriptsRun() {
    const std::vector<uint8_t> saved = doc.Scripts().Actions();
    BindDebug(8, 999, "probe");
    const bool runs = doc.RunEvent(8, 999) == 1;
    doc.Scripts().ReplaceActions(saved);
    host.messages.clear();
    return runs;
  }
};

}  // namespace tavro::test
