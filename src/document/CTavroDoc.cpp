#include "document/CTavroDoc.h"

namespace tavro {

CTavroDoc::CTavroDoc(Host& host) : HostLink(&host) {}

// Files extracted from an archive do not outlive the program.
CTavroDoc::~CTavroDoc() { RemoveTempDirectory(); }

}  // namespace tavro
