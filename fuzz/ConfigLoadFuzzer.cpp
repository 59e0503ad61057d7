// Fuzzes the whole load of a configuration text: its lines, palettes, cels, scripts,
// "initialize(", set 0, "begin(" and the first composition, in a directory that holds a few
// real palette and cel files. A loaded set is then saved and read again: where no script can
// move anything, every position the save wrote must come back unchanged.
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

#include "FuzzFiles.h"
#include "document/CTavroDoc.h"
#include "platform/Host.h"
#include "scripts/ActionRecord.h"

namespace tavro::fuzz {
namespace {

struct Position {
  int32_t Number;
  int32_t Set;
  int16_t X, Y;
};

bool Load(CTavroDoc& doc, const std::string& path) {
  const bool opened = doc.OnOpenDocument(path).Opened;
  doc.StartLoadedSet();
  return opened;
}

bool HasScript(const CTavroDoc& doc) { return !doc.Scripts().Actions().empty(); }

// What a reader of the saved file finds for each object and set: a set line lists "x,y" for a
// position with a coordinate above 0 (coordinates below 0 written as 0) and "*" otherwise.
std::vector<Position> SavedPositions(const CTavroDoc& doc) {
  std::vector<Position> positions;
  doc.Set().ForEachObject([&](int32_t number, uint16_t slot) {
    if (number >= doc.Set().ObjectCount() || slot >= doc.Set().ObjectTable().size()) return;
    const ObjectEntry& object = doc.Set().ObjectTable()[slot];
    for (int32_t set = 0; set < kSetCount; ++set) {
      const bool listed = object.SetX[set] > 0 || object.SetY[set] > 0;
      const auto x = static_cast<int16_t>(listed && object.SetX[set] > 0 ? object.SetX[set] : 0);
      const auto y = static_cast<int16_t>(listed && object.SetY[set] > 0 ? object.SetY[set] : 0);
      positions.push_back({number, set, x, y});
    }
  });
  return positions;
}

void CheckReloadedPositions(const CTavroDoc& reloaded, const std::vector<Position>& saved) {
  for (const Position& p : saved) {
    const uint16_t slot = reloaded.Set().SlotOf(p.Number);
    if (slot == 0 || slot >= reloaded.Set().ObjectTable().size()) {
      Fail("object " + std::to_string(p.Number) + " lost its slot on reload");
    }
    const ObjectEntry& object = reloaded.Set().ObjectTable()[slot];
    if (object.SetX[p.Set] != p.X || object.SetY[p.Set] != p.Y) {
      Fail("object " + std::to_string(p.Number) + " in set " + std::to_string(p.Set) + " saved " +
           std::to_string(p.X) + "," + std::to_string(p.Y) + " but reloaded " +
           std::to_string(object.SetX[p.Set]) + "," + std::to_string(object.SetY[p.Set]));
    }
  }
}

void SaveAndReload(CTavroDoc& doc) {
  const std::string saved = FixedSetDirectory() + "saved.cnf";
  std::string error;
  if (!doc.SaveConfigFile(saved, error)) Fail("a loaded set could not be saved: " + error);
  const std::vector<Position> positions = SavedPositions(doc);
  const bool comparable = !HasScript(doc);

  NullHost host;
  CTavroDoc reloaded(host);
  if (!Load(reloaded, saved)) Fail("a saved set could not be read again");
  if (!reloaded.IsSetLoaded()) Fail("a saved set did not load again");
  if (comparable) CheckReloadedPositions(reloaded, positions);
}

// What a person does next: look at the last set in use in the other colour form. (Composing
// every set would spend the harness's time in pixel loops the image harness covers already.)
void ShowAnotherSet(CTavroDoc& doc) {
  int32_t last = 0;
  for (int32_t set = 0; set < kSetCount; ++set) {
    if (doc.Set().IsSetInUse(set)) last = set;
  }
  doc.SelectSet(last);
  doc.SelectGroup(doc.Set().CurrentGroup() + 1);
  if (doc.Map().TrueColourMode()) {
    doc.SetColourMode256();
  } else {
    doc.SetColourModeTrue();
  }
  doc.FlushAndRepaint();
}

}  // namespace
}  // namespace tavro::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tavro;
  using namespace tavro::fuzz;
  const std::string path = FixedSetDirectory() + "set.cnf";
  if (!WriteWholeFile(path, data, size)) Fail("cannot write the configuration");
  NullHost host;
  CTavroDoc doc(host);
  if (!Load(doc, path)) Fail("a regular configuration file could not be opened");
  if (!doc.IsSetLoaded()) return 0;
  SaveAndReload(doc);
  ShowAnotherSet(doc);
  return 0;
}
