// The document's life cycle: making and ending it, putting a set's defaults in place, freeing a
// set, and starting an empty document.
#include <algorithm>

#include "document/CTavroDoc.h"

namespace tavro {

CTavroDoc::CTavroDoc(Host& host, ChangeNotices& notices) : HostLink(&host), NoticesLink(&notices) {}

// Files extracted from an archive do not outlive the program.
CTavroDoc::~CTavroDoc() { RemoveTempDirectory(); }

void CTavroDoc::ResetSet() {
  TheSet.Reset();
  SetLoaded = false;
  StartDue = false;
  Composed.TakeDirtyArea();
  Composed.SetTrueColourMode(false);
  Engine.DisarmAllAlarms();
}

void CTavroDoc::DeleteContents() {
  TheSet.FreeTables();
  Report.LoadedCels = 0;
  Composed.Free();
  Engine.ClearActions();
  // With its tables gone the set cannot be shown, whoever called this; a repaint or timer
  // message arriving before the next load must find nothing to draw.
  SetLoaded = false;
  StartDue = false;
}

std::vector<std::string> CTavroDoc::LoadConfigText(std::optional<std::vector<char>> text) {
  Told.clear();
  Report.Problems.Clear();
  ResetSet();
  DeleteContents();
  LoadConfig(std::move(text));
  return TakeTold();
}

bool CTavroDoc::OnNewDocument() {
  Report.Problems.Clear();
  DeleteContents();
  ResetSet();
  return true;
}

}  // namespace tavro
