// Reading a configuration file into the document, up to the moment its first set is on screen.
//
// Problems with single cels are collected as bits while the lines are read and shown together at
// the end, one message box per kind, so that a set with two hundred missing cels says so once.
#include <limits>
#include <new>

#include "document/CArchive.h"
#include "document/CTavroDoc.h"
#include "document/ConfigReader.h"
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

void CTavroDoc::Serialize(CArchive& archive) {
  if (archive.IsStoring()) {
    StoreConfig(archive);
  } else if (archive.IsLoading()) {
    LoadConfig(archive);
  }
}

void CTavroDoc::LoadConfig(CArchive& archive) {
  if (!ReadConfigText(archive)) return;  // silently: the document stays empty
  TheSet.ClearLoadErrors();
  if (TheSet.MakeTables()) {
    ConfigReader(TheSet).LoadLines(*this);
    MapStride = (TheSet.PlayfieldWidth() + 3) & ~3;
    MapHeight = TheSet.PlayfieldHeight();
    AllocateMap(TrueColourMode);
    if (CompositeMap.empty()) TheSet.NoteLoadError(kErrNoMemory);
  } else {
    TheSet.NoteLoadError(kErrNoMemory);
  }
  ReportLoadErrors();
  if (TheSet.Palettes().ColourCount != 0 || TheSet.ObjectCount() != 0 || TheSet.CellCount() != 0) {
    ShowLoadedSet();
  } else {
    EmptyLoadedSet();
  }
}

// The whole file, kept for saving. A file that ends before its length says leaves no text at all
// rather than half of one.
bool CTavroDoc::ReadConfigText(CArchive& archive) {
  const int64_t length = archive.FileLength();
  TheSet.TakeConfigText({});
  if (length < 0 || length >= std::numeric_limits<int32_t>::max()) return false;
  std::vector<char> text;
  try {
    // Room for the terminating zero the set adds, so that adding it does not copy the text.
    text.reserve(static_cast<size_t>(length) + 1);
    text.resize(static_cast<size_t>(length));
  } catch (const std::bad_alloc&) {
    return false;
  }
  if (archive.Read(text.data(), static_cast<size_t>(length)) != static_cast<size_t>(length)) {
    return false;
  }
  TheSet.TakeConfigText(std::move(text));
  return true;
}

void CTavroDoc::ReportLoadErrors() {
  for (const LoadMessage& message : kLoadMessages) {
    if (TheSet.LoadErrors() & message.bit) {
      host().ShowMessage(message.text, "", MessageIcon::Exclamation);
    }
  }
}

// "initialize(" runs before set 0 is applied (which raises "set("), "begin(" after it and before
// the first composition.
void CTavroDoc::ShowLoadedSet() {
  ZoomFactor = 1;
  SetMapBounds(0, 0, TheSet.PlayfieldWidth(), TheSet.PlayfieldHeight());
  RunEvent(kEventInitialize, 0);
  ApplySet(0);
  RunEvent(kEventBegin, 0);
  ComposeRect(0, 0, TheSet.PlayfieldWidth(), TheSet.PlayfieldHeight());
  host().InvalidateWholeView();
  BuildPalette(TheSet.CurrentGroup());
  SetLoaded = true;
}

// The file gave no colour, no object and no cel: nothing of it is kept.
void CTavroDoc::EmptyLoadedSet() {
  TheSet.TakeConfigText({});
  TextCursor = nullptr;
  CompositeMap = std::vector<uint8_t>();
  TheSet.FreeTables();
  SetLoaded = false;
}

}  // namespace tavro
