// The document's life cycle: making and ending it, putting a set's defaults in place, freeing a
// set, and starting an empty document.
#include <algorithm>

#include "document/CTavroDoc.h"

namespace tavro {

CTavroDoc::CTavroDoc(Host& host, ChangeNotices& notices)
    : HostLink_(&host), NoticesLink_(&notices) {}

// Files extracted from an archive do not outlive the program.
CTavroDoc::~CTavroDoc() { RemoveTempDirectory(); }

void CTavroDoc::ResetSet() {
  TheSet_.Reset();
  SetLoaded_ = false;
  StartDue_ = false;
  Composed_.TakeDirtyArea();
  Composed_.SetTrueColourMode(false);
  Engine_.DisarmAllAlarms();
}

void CTavroDoc::DeleteContents() {
  TheSet_.FreeTables();
  Report_.LoadedCels = 0;
  Composed_.Free();
  Engine_.ClearActions();
  // With its tables gone the set cannot be shown, whoever called this; a repaint or timer
  // message arriving before the next load must find nothing to draw.
  SetLoaded_ = false;
  StartDue_ = false;
}

std::vector<std::string> CTavroDoc::LoadConfigText(std::optional<std::vector<char>> text) {
  Told_.clear();
  Report_.Problems.Clear();
  ResetSet();
  DeleteContents();
  LoadConfig(std::move(text));
  return TakeTold();
}

bool CTavroDoc::OnNewDocument() {
  Report_.Problems.Clear();
  DeleteContents();
  ResetSet();
  return true;
}

}  // namespace tavro
