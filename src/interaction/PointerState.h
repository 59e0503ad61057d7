// Where the pointer is on the map and what a drag holds. Map coordinates only: the view turns
// window points into map points before they arrive here.
#pragma once

#include <cstdint>

#include "interaction/FixOverride.h"
#include "platform/MapRect.h"

namespace tavro {

class PointerState {
 public:
  // ---- pointer ----
  // Where the pointer may go, inclusive on all four sides.
  const MapRect& Bounds() const { return MapBounds; }
  // Bounds = (left, top, left + width - 1, top + height - 1).
  void SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) {
    MapBounds = {left, top, left + width - 1, top + height - 1};
  }
  int32_t X() const { return PointerX; }
  int32_t Y() const { return PointerY; }
  // Puts the pointer at map (x, y), held within Bounds.
  void MoveWithin(int32_t x, int32_t y);
  // Puts the pointer at map (x, y) as it is, unclamped.
  void MoveTo(int32_t x, int32_t y) {
    PointerX = x;
    PointerY = y;
  }
  // The cel line last found under the pointer; -1 before any.
  int32_t LastHitCell() const { return HitCell; }
  void SetLastHitCell(int32_t cell) { HitCell = cell; }

  // ---- drag ----
  // Slot of the held object; 0 when nothing is held.
  int32_t HeldSlot() const { return DragObject; }
  void Hold(int32_t slot) { DragObject = slot; }
  // A drag starts where the pointer is now: start and last position both there.
  void StartDrag() {
    DragLastX = DragStartX = PointerX;
    DragLastY = DragStartY = PointerY;
  }
  // The held object moved by (dx, dy).
  void Advance(int32_t dx, int32_t dy) {
    DragLastX += dx;
    DragLastY += dy;
  }
  int32_t StartX() const { return DragStartX; }
  int32_t StartY() const { return DragStartY; }
  int32_t LastX() const { return DragLastX; }
  int32_t LastY() const { return DragLastY; }

  // ---- fixing ----
  // The key-sequence state that lifts fixing: the process's own unless a test points elsewhere.
  const FixOverrideState& FixOverride() const {
    return FixOverrideSource != nullptr ? *FixOverrideSource : ProcessFixOverride();
  }
  void UseFixOverride(FixOverrideState* source) { FixOverrideSource = source; }
  void FeedFixOverrideKey(int32_t virtualKey) {
    (FixOverrideSource != nullptr ? *FixOverrideSource : ProcessFixOverride()).FeedKey(virtualKey);
  }

 private:
  MapRect MapBounds;
  int32_t PointerX = 0;
  int32_t PointerY = 0;
  int32_t HitCell = -1;
  int32_t DragObject = 0;
  int32_t DragLastX = 0;
  int32_t DragLastY = 0;
  int32_t DragStartX = 0;
  int32_t DragStartY = 0;
  FixOverrideState* FixOverrideSource = nullptr;
};

}  // namespace tavro
