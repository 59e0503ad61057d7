#include "document/CTavroDoc.h"

namespace tavro {

void CTavroDoc::SetMapBounds(int32_t left, int32_t top, int32_t width, int32_t height) {
  MapBounds = {left, top, left + width - 1, top + height - 1};
}

}  // namespace tavro
