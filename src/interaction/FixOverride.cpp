#include "interaction/FixOverride.h"

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

}  // namespace tavro
