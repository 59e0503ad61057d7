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
  int32_t Bit;
  const char* Text;
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
  Report_.Problems.Clear(Report_.Problems.File());
  if (!ReadConfigText(text)) return;  // silently: the document stays empty
  Report_.Errors = 0;
  if (TheSet_.MakeTables()) {
    DocumentLoadTarget target(TheSet_, Composed_, Engine_, CelFiles_,
                              {Report_.Errors, Report_.LoadedCels, Report_.Problems, Told_},
                              *Progress_);
    ConfigReader(TheSet_).LoadLines(target);
    if (Progress_->Cancelled()) return;  // the open throws the half-read set away
    Composed_.SetSize(TheSet_.PlayfieldWidth(), TheSet_.PlayfieldHeight());
    Composed_.Allocate(Composed_.TrueColourMode());
    if (Composed_.Empty()) Report_.Errors |= kErrNoMemory;
  } else {
    Report_.Errors |= kErrNoMemory;
  }
  ReportLoadErrors();
  // The set is shown only once its messages have been: StartLoadedSet.
  if (TheSet_.Palettes().ColourCount != 0 || TheSet_.ObjectCount() != 0 ||
      TheSet_.CellCount() != 0) {
    StartDue_ = true;
  } else {
    EmptyLoadedSet();
  }
}

bool CTavroDoc::StartLoadedSet() {
  if (!StartDue_) return false;
  StartDue_ = false;
  ShowLoadedSet();
  return true;
}

// The whole file, kept for saving. A file that could not be read whole leaves no text at all
// rather than half of one.
bool CTavroDoc::ReadConfigText(std::optional<std::vector<char>>& text) {
  TheSet_.TakeConfigText({});
  if (!text || text->size() >= static_cast<size_t>(std::numeric_limits<int32_t>::max())) {
    return false;
  }
  try {
    TheSet_.TakeConfigText(std::move(*text));
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

void CTavroDoc::ReportLoadErrors() {
  for (const LoadMessage& message : kLoadMessages) {
    if (Report_.Errors & message.Bit) {
      Tell(message.Text);
    }
  }
}

// "initialize(" runs before set 0 is applied (which raises "set("), "begin(" after it and before
// the first composition.
void CTavroDoc::ShowLoadedSet() {
  Notices().NewSetShowing();
  Pointing_.SetBounds(0, 0, TheSet_.PlayfieldWidth(), TheSet_.PlayfieldHeight());
  Engine_.RunEvent(kEventInitialize, 0);
  ApplySet(0);
  Engine_.RunEvent(kEventBegin, 0);
  ComposeRect(0, 0, TheSet_.PlayfieldWidth(), TheSet_.PlayfieldHeight());
  Notices().InvalidateWholeView();
  BuildPalette(TheSet_, Composed_, TheSet_.CurrentGroup());
  SetLoaded_ = true;
}

// The file gave no colour, no object and no cel: nothing of it is kept.
void CTavroDoc::EmptyLoadedSet() {
  TheSet_.TakeConfigText({});
  Composed_.Free();
  TheSet_.FreeTables();
  SetLoaded_ = false;
}

}  // namespace tavro
