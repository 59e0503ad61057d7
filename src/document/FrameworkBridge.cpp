// The document framework's steps that archive opening calls: the set's defaults, and the open
// step that reads a configuration file. A file that cannot be read is reported here, as the
// framework reports its own failures.
#include "document/CTavroDoc.h"
#include "document/DocumentFile.h"

namespace tavro {

void CTavroDoc::ResetForOpen() { ResetSet(); }

bool CTavroDoc::RunOpenStep(const std::string& cnfPath) {
  if (OpenDocumentFile(*this, cnfPath, LastOpenError)) return true;
  host().ShowMessage(LastOpenError, "", MessageIcon::Exclamation);
  return false;
}

}  // namespace tavro
