// The hidden key sequence that lifts the fixing of objects for the rest of the run.
//
// The view feeds it the virtual-key code of every key press (a letter key's code is its capital
// letter, with or without Shift). Once the whole sequence has been typed in a row the state is
// -1 for good: it survives opening other sets and File New.
#pragma once

#include <cstdint>

namespace tavro {

class FixOverrideState {
 public:
  // Letters typed so far in a row (0 to 4), or -1 once the sequence is complete.
  int32_t Value() const { return value_; }
  bool Active() const { return value_ < 0; }
  void FeedKey(int32_t virtualKey);
  // Only for tests: a fresh process's state.
  void Reset() { value_ = 0; }

 private:
  int32_t value_ = 0;
};

// The one state of this process.
FixOverrideState& ProcessFixOverride();

}  // namespace tavro
