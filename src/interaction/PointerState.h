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
  const MapRect& Bounds() const { return MapBounds_; }
  // Bounds = (left, top, left + width - 1, top + height - 1).
  void SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) {
    MapBounds_ = {left, top, left + width - 1, top + height - 1};
  }
  int32_t X() const { return PointerX_; }
  int32_t Y() const { return PointerY_; }
  // Puts the pointer at map (x, y), held within Bounds.
  void MoveWithin(int32_t x, int32_t y);
  // Puts the pointer at map (x, y) as it is, unclamped.
  void MoveTo(int32_t x, int32_t y) {
    PointerX_ = x;
    PointerY_ = y;
  }
  // The cel line last found under the pointer; -1 before any.
  int32_t LastHitCell() const { return HitCell_; }
  void SetLastHitCell(int32_t cell) { HitCell_ = cell; }

  // ---- drag ----
  // Slot of the held object; 0 when nothing is held.
  int32_t HeldSlot() const { return DragObject_; }
  void Hold(int32_t slot) { DragObject_ = slot; }
  // A drag starts where the pointer is now: start and last position both there.
  void StartDrag() {
    DragLastX_ = DragStartX_ = PointerX_;
    DragLastY_ = DragStartY_ = PointerY_;
  }
  // The held object moved by (dx, dy).
  void Advance(int32_t dx, int32_t dy) {
    DragLastX_ += dx;
    DragLastY_ += dy;
  }
  int32_t StartX() const { return DragStartX_; }
  int32_t StartY() const { return DragStartY_; }
  int32_t LastX() const { return DragLastX_; }
  int32_t LastY() const { return DragLastY_; }

  // ---- fixing ----
  // The key-sequence state that lifts fixing: the process's own unless a test points elsewhere.
  const FixOverrideState& FixOverride() const {
    return FixOverrideSource_ != nullptr ? *FixOverrideSource_ : ProcessFixOverride();
  }
  void UseFixOverride(FixOverrideState* source) { FixOverrideSource_ = source; }
  void FeedFixOverrideKey(int32_t virtualKey) {
    (FixOverrideSource_ != nullptr ? *FixOverrideSource_ : ProcessFixOverride())
        .FeedKey(virtualKey);
  }

 private:
  MapRect MapBounds_;
  int32_t PointerX_ = 0;
  int32_t PointerY_ = 0;
  int32_t HitCell_ = -1;
  int32_t DragObject_ = 0;
  int32_t DragLastX_ = 0;
  int32_t DragLastY_ = 0;
  int32_t DragStartX_ = 0;
  int32_t DragStartY_ = 0;
  FixOverrideState* FixOverrideSource_ = nullptr;
};

}  // namespace tavro
