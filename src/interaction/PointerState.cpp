#include "interaction/PointerState.h"

namespace tavro {

void PointerState::Track(int32_t windowX, int32_t windowY, int32_t scrollX, int32_t scrollY) {
  const int32_t zoom = ZoomOrOne();
  // Division truncates toward zero, as the view always did; clamping happens after it.
  int32_t x = (windowX + scrollX) / zoom;
  int32_t y = (windowY + scrollY) / zoom;
  if (x < MapBounds.left) x = MapBounds.left;
  if (x > MapBounds.right) x = MapBounds.right;
  if (y < MapBounds.top) y = MapBounds.top;
  if (y > MapBounds.bottom) y = MapBounds.bottom;
  PointerX = x;
  PointerY = y;
}

}  // namespace tavro
