// Fuzzes the script language: every input line becomes a ";@" line of a small real set, so
// the engine compiles it as the loader does (events carry over from line to line), and the
// load runs "initialize(", "set(" and "begin(". Then every event bound in the compiled store is
// raised, objects are pressed and dropped, and timer passes run on a fake clock that starts just
// before the tick count wraps and arrives late now and then.
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "FuzzFiles.h"
#include "document/CTavroDoc.h"
#include "platform/Host.h"
#include "scripts/ActionRecord.h"
#include "scripts/ScriptCodes.h"

namespace tavro::fuzz {
namespace {

constexpr char kFixedLines[] =
    "(200,150)\n"
    "%pal.kcf\n"
    "#0 a.cel *0 :0 1 2\n"
    "#1.5 b.cel :0 3\n"
    "#2 d.cel :1 2 ;%t64\n"
    "#3 a.cel :0 1 2 3 4 5 6 7 8 9\n"
    "$0 10,10 40,20 * 90,90\n"
    "$1 * * 5,5 0,3\n"
    "$2 1,1 2,2 3,3 4,4\n";

constexpr int kMaxTimerPasses = 200;
constexpr uint32_t kStartTick = 0xFFFFF000u;  // the clock wraps during the run

std::string ConfigWithScript(const uint8_t* data, size_t size) {
  std::string text = kFixedLines;
  text += ";@";
  for (size_t i = 0; i < size; ++i) {
    text += static_cast<char>(data[i]);
    if (data[i] == '\n') text += ";@";
  }
  text += "\n";
  return text;
}

std::vector<std::pair<int32_t, int32_t>> BoundEvents(const CTavroDoc& doc) {
  std::vector<std::pair<int32_t, int32_t>> events;
  for (const ActionRecord& record : doc.Scripts().Actions()) {
    events.emplace_back(record.Event, record.EventArgument);
  }
  return events;
}

void RaiseEveryEvent(CTavroDoc& doc) {
  // From a copy: the actions may not change the store, but the test must not rely on that.
  for (const auto& [event, argument] : BoundEvents(doc)) doc.Scripts().RunEvent(event, argument);
  for (int32_t cell = 0; cell < 4; ++cell) {
    doc.Pointer().SetLastHitCell(cell);
    for (int32_t event : {kEventPress, kEventCatch, kEventFixCatch, kEventDrop, kEventFixDrop,
                          kEventRelease, kEventUnfix}) {
      doc.Scripts().RunObjectEvent(event, cell);
    }
  }
  doc.FlushAndRepaint();
}

void RunTimer(CTavroDoc& doc, NullHost& host) {
  uint32_t now = host.Tick;
  for (int pass = 0; pass < kMaxTimerPasses; ++pass) {
    const int32_t delay = doc.NextTimerPassDelay(now);
    if (delay == CTavroDoc::kNoTimerPass) return;
    // Passes come on time, a little late, or very late, as a busy machine delivers them.
    const uint32_t lateness = (pass % 7 == 3) ? 500u : static_cast<uint32_t>(pass % 3) * 9u;
    now += static_cast<uint32_t>(delay) + lateness;
    host.Tick = now;
    doc.RunTimerPass(now);
  }
}

}  // namespace
}  // namespace tavro::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tavro;
  using namespace tavro::fuzz;
  const std::string path = FixedSetDirectory() + "script.cnf";
  if (!WriteWholeFile(path, ConfigWithScript(data, size))) Fail("cannot write the configuration");
  NullHost host;
  host.Tick = kStartTick;
  CTavroDoc doc(host);
  if (!doc.OnOpenDocument(path).Opened) Fail("a regular configuration file could not be opened");
  if (!doc.StartLoadedSet()) Fail("the fixed set did not load");
  if (doc.Scripts().DispatchDepth() != 0) Fail("an event run was left open after loading");
  RaiseEveryEvent(doc);
  RunTimer(doc, host);
  if (doc.Scripts().DispatchDepth() != 0) Fail("an event run was left open");
  return 0;
}
