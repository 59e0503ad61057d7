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
#include "support/SetBuilder.h"

namespace tavro::test {

class HandBuiltSet {
 public:
  FakeHost host;
  CTavroDoc doc{host};
  FixOverrideState fixOverride;

  SetBuilder build{doc};

  HandBuiltSet() {
    doc.Pointer().UseFixOverride(&fixOverride);
    build.Tables();
    build.Current(0);
    doc.EditMap().SetSize(448, 320);
    doc.Pointer().SetBounds(0, 0, doc.Set().PlayfieldWidth(), doc.Set().PlayfieldHeight());
    doc.MarkSetLoaded(true);
  }

  // Adds a cel line's record: pixels top row first (one byte a pixel, or four for 32-bit cels).
  int AddCel(int object, int width, int height, const std::vector<uint8_t>& topDown,
             uint16_t setMask = 0xFFFF, int offsetX = 0, int offsetY = 0, int bits = 8) {
    return build.AddCel(object, width, height, topDown, setMask, offsetX, offsetY, bits);
  }

  // A solid square cel of colour 1.
  int AddSquare(int object, int size, uint16_t setMask = 0xFFFF) {
    return AddCel(object, size, size, std::vector<uint8_t>(size * size, 1), setMask);
  }

  const ObjectEntry& Object(int number) const {
    return doc.Set().ObjectTable()[doc.Set().SlotOf(number)];
  }

  // Puts an object at (x, y) now and as its stored position in the current set.
  void Place(int number, int x, int y) { build.Place(number, x, y); }

  void SetFix(int number, int total, int remaining) { build.Fix(number, total, remaining); }

  void PointAt(int x, int y) { doc.Pointer().MoveWithin(x, y); }

  // A "debug(" action bound to (event, argument) whose text names it; running the event shows
  // the text through the Host, so the messages record the order events were raised in.
  void BindDebug(int event, int argument, const std::string& text) {
    doc.Scripts().AppendAction(event, argument, 104, TextArgument{text});
  }

  // Whether event records run; a broken script engine fails the tests that need it.
  bool ScriptsRun() {
    const std::vector<ActionRecord> saved = doc.Scripts().Actions();
    BindDebug(8, 999, "probe");
    const bool runs = doc.Scripts().RunEvent(8, 999) == 1;
    doc.Scripts().ReplaceActions(saved);
    host.messages.clear();
    return runs;
  }
};

}  // namespace tavro::test
