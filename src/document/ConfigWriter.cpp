// Placeholder until the configuration writer lands: a storing Serialize writes nothing.
#include "document/CArchive.h"
#include "document/CTavroDoc.h"

namespace tavro {

void CTavroDoc::StoreConfig(CArchive&) {}

}  // namespace tavro
