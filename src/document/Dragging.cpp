// Moving a held object one pointer step at a time, and dropping it.
//
// A fixed object (fix value left, and the key sequence not typed) does not
// follow the pointer: it wobbles within an allowance that grows as its fix
// value wears down, never moves upward, and springs back to where it was picked
// up when dropped.
#include <algorithm>
#include <cstdlib>

#include "document/CTavroDoc.h"
#include "document/SetQueries.h"
#include "set/EventCodes.h"

namespace tavro {
namespace {

inline constexpr int32_t kFixTotalCap = 64;

struct Step {
  int32_t X = 0;
  int32_t Y = 0;
};

// Each drop past the wobble threshold keeps about 31/32 of the fix value.
int16_t WornFixValue(int32_t f) {
  return static_cast<int16_t>((f >> 1) + (f >> 2) + (f >> 3) + (f >> 4) + (f >> 5));
}

int32_t Clamp(int32_t value, int32_t low, int32_t high, bool &limitReached) {
  if (value < low) {
    limitReached = true;
    return low;
  }
  if (value > high) {
    limitReached = true;
    return high;
  }
  return value;
}

// A fixed object under a moving pointer: returns false when the pointer is
// still within the 3-pixel dead zone and nothing moves.
bool FixedMoveStep(const PointerState &pointer, const ObjectEntry &object, Step &step,
                   bool &limitReached) {
  int32_t dx = pointer.X() - pointer.StartX();
  int32_t dy = pointer.Y() - pointer.StartY();
  if (std::abs(dx) + std::abs(dy) < 3) return false;
  const int32_t allowance = std::max<int32_t>(
      0, (std::min<int32_t>(object.FixTotal, kFixTotalCap) - object.FixRemaining) / 4);
  // A fixed object never moves upward.
  dy = Clamp(dy, 0, allowance, limitReached);
  dx = Clamp(dx, -allowance, allowance, limitReached);
  step = {pointer.StartX() - pointer.LastX() + dx, pointer.StartY() - pointer.LastY() + dy};
  return true;
}

}  // namespace

CTavroDoc::DragResult CTavroDoc::DragStep(DragPhase phase) {
  const PointerState &pointer = Pointing_;
  const int32_t held = pointer.HeldSlot();
  const auto slot = static_cast<size_t>(held);
  if (held <= 0 || slot >= TheSet_.ObjectTable().size()) return {};

  const bool fixed =
      !pointer.FixOverride().Active() && TheSet_.ObjectTable()[slot].FixRemaining != 0;
  Step step;
  bool limitReached = false;
  if (fixed && phase == DragPhase::Move) {
    if (!FixedMoveStep(pointer, TheSet_.ObjectTable()[slot], step, limitReached)) return {};
  } else if (fixed) {
    if (std::abs(pointer.X() - pointer.StartX()) + std::abs(pointer.Y() - pointer.StartY()) > 3) {
      const ObjectEntry &object = TheSet_.ObjectTable()[slot];
      TheSet_.SetFix(static_cast<uint16_t>(slot), object.FixTotal,
                     WornFixValue(object.FixRemaining));
    }
    const int32_t number = TheSet_.SlotToNumber(held);
    Engine_.RunObjectEvent(
        TheSet_.ObjectTable()[slot].FixRemaining == 0 ? kEventUnfix : kEventFixDrop, number);
    Engine_.RunObjectEvent(kEventDrop, number);
    Engine_.RunObjectEvent(kEventRelease, number);
    step = {pointer.StartX() - pointer.LastX(), pointer.StartY() - pointer.LastY()};
  } else {
    if (phase == DragPhase::Drop) {
      const int32_t number = TheSet_.SlotToNumber(held);
      Engine_.RunObjectEvent(kEventDrop, number);
      Engine_.RunObjectEvent(kEventRelease, number);
    }
    step = {pointer.X() - pointer.LastX(), pointer.Y() - pointer.LastY()};
  }
  DragResult result;
  if (step.X != 0 || step.Y != 0) {
    if (slot >= TheSet_.ObjectTable().size()) return {};  // a script emptied the tables
    result = MoveHeldObject(step.X, step.Y);
  }
  result.LimitReached = limitReached;
  return result;
}

CTavroDoc::DragResult CTavroDoc::MoveHeldObject(int32_t sx, int32_t sy) {
  const auto slot = static_cast<uint16_t>(Pointing_.HeldSlot());
  const ObjectEntry &object = TheSet_.ObjectTable()[slot];
  // A step is taken in 16 bits, as positions are kept, before the edges apply.
  const auto [x, y] = KeepOnPlayfield(TheSet_, object, static_cast<int16_t>(object.X + sx),
                                      static_cast<int16_t>(object.Y + sy));
  TheSet_.PlaceObject(slot, x, y);

  // One rectangle over the old and the new place.
  int32_t left = object.X + object.ExtentLeft;
  int32_t top = object.Y + object.ExtentTop;
  int32_t width = object.ExtentRight - object.ExtentLeft;
  int32_t height = object.ExtentBottom - object.ExtentTop;
  if (sx < 0) {
    width -= sx;
  } else {
    left -= sx;
    width += sx;
  }
  if (sy < 0) {
    height -= sy;
  } else {
    top -= sy;
    height += sy;
  }
  left = std::max(left, 0);
  top = std::max(top, 0);
  width = std::min(width, TheSet_.PlayfieldWidth());
  height = std::min(height, TheSet_.PlayfieldHeight());
  ComposeRect(left, top, width, height);
  Pointing_.Advance(sx, sy);

  DragResult result;
  result.Redraw = MapRect{left, top, left + width, top + height};
  // The step and where the object now lies let the view follow an object that leaves what it
  // shows.
  result.Moved = true;
  result.StepX = sx;
  result.StepY = sy;
  result.ObjectBox = {object.X, object.Y, object.X + object.ExtentRight,
                      object.Y + object.ExtentBottom};
  return result;
}

}  // namespace tavro
