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
  FakeHost Host;
  CTavroDoc Doc{Host};
  FixOverrideState FixOverride;

  SetBuilder Build{Doc};

  HandBuiltSet() {
    Doc.Pointer().UseFixOverride(&FixOverride);
    Build.Tables();
    Build.Current(0);
    Doc.EditMap().SetSize(448, 320);
    Doc.Pointer().SetBounds(0, 0, Doc.Set().PlayfieldWidth(), Doc.Set().PlayfieldHeight());
    Doc.MarkSetLoaded(true);
  }

  // Adds a cel line's record: pixels top row first (one byte a pixel, or four for 32-bit cels).
  int AddCel(int object, int width, int height, const std::vector<uint8_t>& topDown,
             uint16_t setMask = 0xFFFF, int offsetX = 0, int offsetY = 0, int bits = 8) {
    return Build.AddCel(object, width, height, topDown, setMask, offsetX, offsetY, bits);
  }

  // A solid square cel of colour 1.
  int AddSquare(int object, int size, uint16_t setMask = 0xFFFF) {
    return AddCel(object, size, size, std::vector<uint8_t>(size * size, 1), setMask);
  }

  const ObjectEntry& Object(int number) const {
    return Doc.Set().ObjectTable()[Doc.Set().SlotOf(number)];
  }

  // Puts an object at (x, y) now and as its stored position in the current set.
  void Place(int number, int x, int y) { Build.Place(number, x, y); }

  void SetFix(int number, int total, int remaining) { Build.Fix(number, total, remaining); }

  void PointAt(int x, int y) { Doc.Pointer().MoveWithin(x, y); }

  // A "debug(" action bound to (event, argument) whose text names it; running the event shows
  // the text through the Host, so the messages record the order events were raised in.
  void BindDebug(int event, int argument, const std::string& text) {
    Doc.Scripts().AppendAction(event, argument, 104, TextArgument{text});
  }

  // Whether event records run; a broken script engine fails the tests that need it.
  bool ScriptsRun() {
    const std::vector<ActionRecord> saved = Doc.Scripts().Actions();
    BindDebug(8, 999, "probe");
    const bool runs = Doc.Scripts().RunEvent(8, 999) == 1;
    Doc.Scripts().ReplaceActions(saved);
    Host.Messages.clear();
    return runs;
  }
};

}  // namespace tavro::test
