// Placeholder until the script engine lands: no line compiles, no event matches.
#include "document/CTavroDoc.h"

namespace tavro {

void CTavroDoc::ParseScriptLine() {}
int32_t CTavroDoc::RunEvent(int32_t, int32_t) { return 0; }
void CTavroDoc::RunObjectEvent(int32_t, int32_t) {}

}  // namespace tavro
