// The document's side of a load: where the configuration reader's lines end up among the
// document's parts (the cel loader, the palette reader, the script engine, the map's form and
// the load report). Made for one load pass and dropped after it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "composition/ComposedMap.h"
#include "imagefiles/SetImageFiles.h"
#include "platform/OpenProgress.h"
#include "scripts/ScriptEngine.h"
#include "set/ConfigLoadTarget.h"
#include "set/DollSet.h"
#include "set/LoadProblems.h"

namespace tavro {

// What a load adds up: the LoadErrors bits, the cels that got pixels, every problem, and the
// messages to show at once (a palette file not found), in the order they arose.
struct LoadTally {
  int32_t& Errors;
  int32_t& LoadedCels;
  LoadProblems& Problems;
  std::vector<std::string>& Messages;
};

class DocumentLoadTarget final : public ConfigLoadTarget {
 public:
  // `progress` hears of each cel line as it is done and may stop further decoding.
  DocumentLoadTarget(DollSet& set, ComposedMap& map, ScriptEngine& scripts, CelFileLoader& cels,
                     LoadTally tally, OpenProgress& progress = NoOpenProgress())
      : set_(set), map_(map), scripts_(scripts), cels_(cels), tally_(tally), progress_(progress) {}
  ~DocumentLoadTarget() override;
  DocumentLoadTarget(const DocumentLoadTarget&) = delete;
  DocumentLoadTarget& operator=(const DocumentLoadTarget&) = delete;

  DollSet& SetBeingLoaded() override { return set_; }
  LoadProblems& Problems() override { return tally_.Problems; }
  void AddLoadErrors(int32_t bits) override { tally_.Errors |= bits; }
  int32_t LoadCel(CellEntry& cell) override;
  void EndOfLines() override { TakeCels(true); }
  void LoadPalette(const char* name, int32_t number) override;
  void AskForTrueColour() override { map_.SetTrueColourMode(true); }
  void BeginScripts(const char* text, const char* position) override {
    scripts_.ResetScriptParser({text, position});
  }
  void ParseScriptLine(const char*& cursor, const char* text, const char* position) override {
    scripts_.ParseScriptLine(cursor, {text, position}, tally_.Problems);
  }

 private:
  void TakeCels(bool all);
  void ReportCelDone();

  DollSet& set_;
  ComposedMap& map_;
  ScriptEngine& scripts_;
  CelFileLoader& cels_;
  LoadTally tally_;
  OpenProgress& progress_;
  int32_t celsDone_ = 0;
  int32_t celLines_ = -1;  // counted when the first cel line arrives
};

}  // namespace tavro
