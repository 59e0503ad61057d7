// Reading a configuration file into the document, up to the moment its first set is on screen.
//
// Problems with single cels are collected as bits while the lines are read and shown together at
// the end, one message box per kind, so that a set with two hundred missing cels says so once.
#include <limits>
#include <new>

#include "document/CTavroDoc.h"
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
  if (!ReadConfigText(text)) return;  // silently: the document stays empty
  LoadErrors = 0;
  if (MakeTables()) {
    NextObjectSlot = 1;
    ReadAllLines();
    Composed.SetSize((PlayfieldWidth + 3) & ~3, PlayfieldHeight);
    AllocateMap(Composed.TrueColourMode());
    if (Composed.Empty()) LoadErrors |= kErrNoMemory;
  } else {
    LoadErrors |= kErrNoMemory;
  }
  ReportLoadErrors();
  if (ColourCount != 0 || ObjectCount != 0 || CellCount != 0) {
    ShowLoadedSet();
  } else {
    EmptyLoadedSet();
  }
}

// The whole file plus a terminating zero, kept for saving. A file that could not be read whole
// leaves no text at all rather than half of one.
bool CTavroDoc::ReadConfigText(std::optional<std::vector<char>>& text) {
  ConfigText = std::vector<char>();
  ConfigTextLength = 0;
  if (!text || text->size() >= static_cast<size_t>(std::numeric_limits<int32_t>::max())) {
    return false;
  }
  const auto length = static_cast<int32_t>(text->size());
  try {
    text->push_back('\0');
  } catch (const std::bad_alloc&) {
    return false;
  }
  ConfigText = std::move(*text);
  ConfigTextLength = length;
  return true;
}

// Fresh zero-filled tables. The slot index goes with them: slots of an earlier load would
// point past the new ObjectTable.
bool CTavroDoc::MakeTables() {
  ObjectSlots = std::vector<uint16_t>();
  LargeObjectSlots.clear();
  try {
    ObjectTable = std::vector<ObjectEntry>(1);
    CellTable = std::vector<CellEntry>(kMaxCells);
  } catch (const std::bad_alloc&) {
    ObjectTable = std::vector<ObjectEntry>();
    CellTable = std::vector<CellEntry>();
    return false;
  }
  return true;
}

void CTavroDoc::ReadAllLines() {
  PreviousFirstByte = 0;
  SetIndex = -1;
  NextSetObject = 0;
  // Script lines of the previous file must not lend this one their event.
  Engine.ResetScriptParser({ConfigText.data(), TextCursor});
  TextCursor = ConfigText.data();
  int32_t remaining = ConfigTextLength;
  char line[256];
  while (ReadConfigLine(TextCursor, line, sizeof line, remaining)) DispatchConfigLine(line);
  ParseCursor = nullptr;  // it pointed into `line`, which is gone now
}

void CTavroDoc::ReportLoadErrors() {
  for (const LoadMessage& message : kLoadMessages) {
    if (LoadErrors & message.bit) host().ShowMessage(message.text, "", MessageIcon::Exclamation);
  }
}

// "initialize(" runs before set 0 is applied (which raises "set("), "begin(" after it and before
// the first composition.
void CTavroDoc::ShowLoadedSet() {
  Pointing.SetZoom(1);
  Pointing.SetBounds(0, 0, PlayfieldWidth, PlayfieldHeight);
  RunEvent(kEventInitialize, 0);
  ApplySet(0);
  RunEvent(kEventBegin, 0);
  ComposeRect(0, 0, PlayfieldWidth, PlayfieldHeight);
  host().InvalidateWholeView();
  BuildPalette(CurrentGroup);
  SetLoaded = true;
}

// The file gave no colour, no object and no cel: nothing of it is kept.
void CTavroDoc::EmptyLoadedSet() {
  ConfigText = std::vector<char>();
  ConfigTextLength = 0;
  TextCursor = nullptr;
  Composed.Free();
  ObjectTable = std::vector<ObjectEntry>();
  CellTable = std::vector<CellEntry>();
  ObjectSlots = std::vector<uint16_t>();
  LargeObjectSlots.clear();
  SetLoaded = false;
}

}  // namespace tavro
