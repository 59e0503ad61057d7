#include "document/CTavroDoc.h"

namespace tavro {

CTavroDoc::CTavroDoc(Host& host) : ActionStore(kActionStoreSize, 0), HostLink(&host) {}

CTavroDoc::~CTavroDoc() = default;

}  // namespace tavro
