#include "interaction/PointerState.h"

namespace tavro {

namespace {

constexpr char kSequence[] = "ZORVE";
constexpr int32_t kSequenceLength = sizeof kSequence - 1;

}  // namespace

void FixOverrideState::FeedKey(int32_t virtualKey) {
  if (value_ < 0) return;
  if (virtualKey == kSequence[value_]) {
    if (++value_ == kSequenceLength) value_ = -1;
    return;
  }
  // A wrong key (Shift and auto-repeat included) starts over; it is deliberately not compared
  // with the first letter again, so "ZZ" leaves the count at 0.
  value_ = 0;
}

FixOverrideState& ProcessFixOverride() {
  static FixOverrideState state;
  return state;
}

void PointerState::MoveWithin(int32_t x, int32_t y) {
  if (x < MapBounds_.Left) x = MapBounds_.Left;
  if (x > MapBounds_.Right) x = MapBounds_.Right;
  if (y < MapBounds_.Top) y = MapBounds_.Top;
  if (y > MapBounds_.Bottom) y = MapBounds_.Bottom;
  PointerX_ = x;
  PointerY_ = y;
}

}  // namespace tavro
