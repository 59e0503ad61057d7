// Reading a configuration file into the document, up to the moment its first set is on screen.
//
// Problems with single cels are collected as bits while the lines are read and shown together at
// the end, one message box per kind, so that a set with two hundred missing cels says so once.
#include <limits>
#include <new>

#include "document/CTavroDoc.h"
#include "document/DocumentLoadTarget.h"
#include "document/SetQueries.h"
#include "set/ConfigReader.h"
#include "set/EventCodes.h"

namespace tavro {
namespace {

struct LoadMessage {
  int32_t bit;
  const char* text;
};

// The order in which the messages appear (a missing file before a too large one).
constexpr LoadMessage kLoadMessages[] = {
    {kErrTooManyCells, "too many cells and ignored"},
    {kErrBadCell, "bad cell and ignored"},
    {kErrCelNotLoadable, "can't load cell file and ignored"},
    {kErrTooLargeCell, "too large cell and ignored"},
    {kErrNoMemory, "not enough memory"},
};

}  // namespace

void CTavroDoc::LoadConfig(std::optional<std::vector<char>> text) {
  Report.Problems.Clear(Report.Problems.File());
  if (!ReadConfigText(text)) return;  // silently: the document stays empty
  Report.Errors = 0;
  if (TheSet.MakeTables()) {
    DocumentLoadTarget target(TheSet, Composed, Engine, CelFiles,
                              {Report.Errors, Report.LoadedCels, Report.Problems, Told}, *Progress);
    ConfigReader(TheSet).LoadLines(target);
    if (Progress->Cancelled()) return;  // the open throws the half-read set away
    Composed.SetSize(TheSet.PlayfieldWidth(), TheSet.PlayfieldHeight());
    Composed.Allocate(Composed.TrueColourMode());
    if (Composed.Empty()) Report.Errors |= kErrNoMemory;
  } else {
    Report.Errors |= kErrNoMemory;
  }
  ReportLoadErrors();
  // The set is shown only once its messages have been: StartLoadedSet.
  if (TheSet.Palettes().ColourCount != 0 || TheSet.ObjectCount() != 0 || TheSet.CellCount() != 0) {
    StartDue = true;
  } else {
    EmptyLoadedSet();
  }
}

bool CTavroDoc::StartLoadedSet() {
  if (!StartDue) return false;
  StartDue = false;
  ShowLoadedSet();
  return true;
}

// The whole file, kept for saving. A file that could not be read whole leaves no text at all
// rather than half of one.
bool CTavroDoc::ReadConfigText(std::optional<std::vector<char>>& text) {
  TheSet.TakeConfigText({});
  if (!text || text->size() >= static_cast<size_t>(std::numeric_limits<int32_t>::max())) {
    return false;
  }
  try {
    TheSet.TakeConfigText(std::move(*text));
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

void CTavroDoc::ReportLoadErrors() {
  for (const LoadMessage& message : kLoadMessages) {
    if (Report.Errors & message.bit) {
      Tell(message.text);
    }
  }
}

// "initialize(" runs before set 0 is applied (which raises "set("), "begin(" after it and before
// the first composition.
void CTavroDoc::ShowLoadedSet() {
  notices().NewSetShowing();
  Pointing.SetBounds(0, 0, TheSet.PlayfieldWidth(), TheSet.PlayfieldHeight());
  Engine.RunEvent(kEventInitialize, 0);
  ApplySet(0);
  Engine.RunEvent(kEventBegin, 0);
  ComposeRect(0, 0, TheSet.PlayfieldWidth(), TheSet.PlayfieldHeight());
  notices().InvalidateWholeView();
  BuildPalette(TheSet, Composed, TheSet.CurrentGroup());
  SetLoaded = true;
}

// The file gave no colour, no object and no cel: nothing of it is kept.
void CTavroDoc::EmptyLoadedSet() {
  TheSet.TakeConfigText({});
  Composed.Free();
  TheSet.FreeTables();
  SetLoaded = false;
}

}  // namespace tavro
