// Placeholder until the cel decoder lands: every cel counts as not loadable.
#include "document/CTavroDoc.h"

namespace tavro {

int32_t CTavroDoc::LoadCel(CellEntry& cell) {
  cell.SetMask = 0;
  return kErrCelNotLoadable;
}

}  // namespace tavro
