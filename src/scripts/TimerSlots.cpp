// The 128 timer slots behind "timer(", "randomtimer(" and "alarm(".
//
// A slot that re-arms itself from its own alarm counts from the time it was due, not from the
// time the pass noticed it, so an animation keeps its period however coarsely passes arrive.
#include <algorithm>
#include <cstdint>

#include "scripts/ScriptCodes.h"
#include "scripts/ScriptEngine.h"
#include "scripts/ScriptLimits.h"

namespace tavro {
namespace {

// Tick counts wrap every 49.7 days. Comparing the signed distance keeps a slot armed just before
// the wrap from waiting a whole further cycle, and one armed just after from firing at once.
int32_t TicksUntil(uint32_t due, uint32_t now) { return static_cast<int32_t>(due - now); }

bool IsSlot(int32_t slot) { return slot >= 0 && slot < ScriptEngine::kAlarmSlots; }

}  // namespace

void ScriptEngine::ArmFromNow(int32_t slot, uint32_t delay) {
  if (!IsSlot(slot)) return;
  if (delay == 0) {
    Armed_[slot] = 0;
    return;
  }
  Armed_[slot] = 1;
  Due_[slot] = Target_.TickCount() + delay;
}

void ScriptEngine::ArmFromAlarm(int32_t slot, uint32_t delay) {
  if (!IsSlot(slot)) return;
  Armed_[slot] = 1;
  Due_[slot] = AlarmTick_ + delay;
}

void ScriptEngine::ArmAlarm(int32_t slot, uint32_t delay, uint32_t range, int32_t runningEvent) {
  // The random value is drawn before the slot is looked at, so that a script's sequence of
  // delays does not depend on which of its slots are usable.
  if (range != 0) delay += static_cast<uint32_t>(NextScriptRandom()) % range;
  if (!IsSlot(slot)) return;
  if (runningEvent != kEventAlarm || delay == 0) {
    ArmFromNow(slot, delay);  // a delay of 0 cancels the slot
    return;
  }
  const int64_t d = static_cast<int64_t>(delay) - Lateness_;
  if (d > 0) {
    ArmFromAlarm(slot, static_cast<uint32_t>(d));  // due = old due + delay
    return;
  }
  // Noticed at least a whole delay late. Deep inside nested runs the alarm catches up by firing
  // again at once, one nested run per delay missed; elsewhere, and once that nesting is deep,
  // it fires on the next pass.
  if (Depth_ <= kAlarmRefireFromDepth || Depth_ >= kMaxAlarmRefireDepth) {
    ArmFromAlarm(slot, 1);
    return;
  }
  const int32_t lateness = Lateness_;
  Lateness_ = static_cast<int32_t>(-d);
  RunEvent(kEventAlarm, slot);
  Lateness_ = lateness;
}

void ScriptEngine::DisarmAllAlarms() { Armed_.fill(0); }

bool ScriptEngine::AlarmArmed(int32_t slot) const { return IsSlot(slot) && Armed_[slot] != 0; }

uint32_t ScriptEngine::AlarmDue(int32_t slot) const { return IsSlot(slot) ? Due_[slot] : 0; }

// A pass may run inside an alarm that opened a "debug(" box; the outer alarm still needs its own
// tick and lateness when it re-arms after the box closes, so they are put back afterwards.
void ScriptEngine::FireAlarm(int32_t slot, uint32_t now) {
  const uint32_t outerTick = AlarmTick_;
  const int32_t outerLateness = Lateness_;
  const int32_t outerSwitches = ScriptSetSwitches_;
  // Held below 2^31 ms: a pass that comes almost 25 days late must not turn the lateness negative.
  Lateness_ = static_cast<int32_t>(std::min<uint32_t>(now - Due_[slot], INT32_MAX));
  AlarmTick_ = now;
  Armed_[slot] = 0;
  ScriptSetSwitches_ = 0;
  RunEvent(kEventAlarm, slot);
  AlarmTick_ = outerTick;
  Lateness_ = outerLateness;
  ScriptSetSwitches_ = outerSwitches;
}

int32_t ScriptEngine::RunTimerPass(uint32_t now) {
  if (!Target_.IsSetLoaded()) return kNoTimerPass;
  if (Depth_ < kMaxTimerPassDepth) {
    for (int32_t slot = 0; slot < kAlarmSlots; ++slot) {
      if (Armed_[slot] != 0 && TicksUntil(Due_[slot], now) <= 0) FireAlarm(slot, now);
    }
  }
  if (Target_.IsDirty()) Target_.FlushDirtyArea();
  return NextTimerPassDelay(now);
}

int32_t ScriptEngine::NextTimerPassDelay(uint32_t now) const {
  if (!Target_.IsSetLoaded()) return kNoTimerPass;
  if (Target_.IsDirty()) return 0;
  int32_t soonest = kNoTimerPass;
  for (int32_t slot = 0; slot < kAlarmSlots; ++slot) {
    if (Armed_[slot] == 0) continue;
    const int32_t wait = std::max(0, TicksUntil(Due_[slot], now));
    if (soonest == kNoTimerPass || wait < soonest) soonest = wait;
  }
  return soonest;
}

void ScriptEngine::DelayAlarms(uint32_t ticks) {
  for (int32_t slot = 0; slot < kAlarmSlots; ++slot) {
    if (Armed_[slot] != 0) Due_[slot] += ticks;
  }
}

// The generator behind "randomtimer(". Sets expect the sequence of the runtime they were made
// with: a linear congruential generator whose values are bits 16 to 30 of its state.
void ScriptEngine::SeedScriptRandom(uint32_t seed) { ScriptRandomState_ = seed; }

int32_t ScriptEngine::NextScriptRandom() {
  ScriptRandomState_ = ScriptRandomState_ * 214013u + 2531011u;
  return static_cast<int32_t>((ScriptRandomState_ >> 16) & 0x7FFF);
}

}  // namespace tavro
