// Placeholder until the palette reader lands.
#include "document/CTavroDoc.h"

namespace tavro {

int32_t CTavroDoc::LoadPaletteFile(const char*, int32_t) { return 1; }

}  // namespace tavro
