// The script engine: compiles ";@" lines into action records, runs the records bound to an event,
// and keeps the 128 timer slots and the random generator behind "timer(" and "randomtimer(".
//
// It acts on the set only through the ScriptTarget it is given, which must outlive it. Runs
// nest (an action may raise another event, a "debug(" box lets timer passes run while it is open);
// the bounds in ScriptLimits.h keep every nesting finite.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "scripts/ActionRecord.h"
#include "scripts/ScriptCodes.h"
#include "scripts/ScriptTarget.h"
#include "set/LoadProblems.h"

namespace tavro {

inline constexpr int kActionStoreSize = 32767;

// Where a script line was read: the configuration text and the reader's position in it after the
// line. Within one file the position moves forward with every line, so another text, or a
// position that did not move on, tells the parser that a new file has started.
struct ScriptLineOrigin {
  const char* Text = nullptr;
  const char* Position = nullptr;
};

class ScriptEngine {
 public:
  static constexpr uint16_t kNoTarget = ScriptTarget::kNoTarget;
  static constexpr int kAlarmSlots = 128;
  static constexpr int32_t kNoTimerPass = -1;

  explicit ScriptEngine(ScriptTarget& target);
  ScriptEngine(const ScriptEngine&) = delete;
  ScriptEngine& operator=(const ScriptEngine&) = delete;

  // ---- compiling (ScriptParser.cpp, ActionStore.cpp) ----
  // Compiles the script line at `cursor` (the byte after ";@", zero-terminated) and leaves the
  // cursor where it stopped, never past the terminating zero. The current event and its
  // argument carry over from one line to the next of the same file.
  // Skipped words, targets naming nothing and records that do not fit go to `problems`; `cursor`
  // lies in the line buffer the problems were last told of.
  void ParseScriptLine(const char*& cursor, ScriptLineOrigin origin, LoadProblems& problems);
  // The same for a line whose problems nobody reads.
  void ParseScriptLine(const char*& cursor, ScriptLineOrigin origin = {}) {
    LoadProblems unread;
    ParseScriptLine(cursor, origin, unread);
  }
  // Makes "initialize(" with argument 0 the current event again, for a file starting at `origin`.
  void ResetScriptParser(ScriptLineOrigin origin = {});
  // Appends one record (the event and its argument keep their low 8 and 16 bits); false when it
  // does not fit in what is left of kActionStoreSize bytes.
  bool AppendAction(int32_t event, int32_t eventArgument, int32_t action,
                    ActionArguments arguments);
  // The compiled records in script order.
  const std::vector<ActionRecord>& Actions() const { return ActionStore_; }
  // Of kActionStoreSize, the bytes the records take (see ActionRecord.h).
  size_t ActionStoreBytes() const { return ActionStoreUsed_; }
  // Takes over another engine's compiled records, as far as they fit.
  void ReplaceActions(const std::vector<ActionRecord>& records);
  // Every record gone.
  void ClearActions();

  // ---- running (EventDispatch.cpp, with the set and colour-group actions) ----
  // Runs the actions bound to (event, argument); 1 when at least one record matched, else 0.
  int32_t RunEvent(int32_t event, int32_t argument);
  // RunEvent for an object; when nothing is bound to the object, falls back on the cel under
  // the pointer if that cel is shown.
  void RunObjectEvent(int32_t event, int32_t objectNumber);
  // RunEvent calls now running, one inside another.
  int32_t DispatchDepth() const { return Depth_; }

  // ---- timer slots (TimerSlots.cpp) ----
  // What "timer(" and "randomtimer(" do when run for `runningEvent`: `range` > 0 adds a random
  // 0..range-1; a delay of 0 disarms. Slots 128 and up arm nothing and never fire.
  void ArmAlarm(int32_t slot, uint32_t delay, uint32_t range, int32_t runningEvent);
  // Every slot idle.
  void DisarmAllAlarms();
  // One timer pass at tick `now`: fires the due slots lowest first as "alarm(" events, then has
  // the target flush its dirty area. Returns NextTimerPassDelay(now).
  int32_t RunTimerPass(uint32_t now);
  // Milliseconds from `now` until a pass has something to do: 0 when the target is dirty or a
  // slot is due, kNoTimerPass when nothing is armed or no set is loaded. The view may sleep that
  // long, and asks again after anything else that may arm a slot or dirty the map.
  int32_t NextTimerPassDelay(uint32_t now) const;
  bool AlarmArmed(int32_t slot) const;
  // Every armed slot falls due `ticks` later (wrapping), as when the clock that armed them is
  // exchanged for one that reads `ticks` less.
  void DelayAlarms(uint32_t ticks);
  // The tick a slot is due at (meaningful while it is armed); 0 for a slot out of range.
  uint32_t AlarmDue(int32_t slot) const;
  // How late the alarm being fired now is, in ms; 0 outside alarms.
  int32_t AlarmLateness() const { return Lateness_; }

  // ---- the generator behind "randomtimer(" (TimerSlots.cpp) ----
  // Values 0..32767; seed 1 until "initialize(" is parsed.
  void SeedScriptRandom(uint32_t seed);
  int32_t NextScriptRandom();

 private:
  // Parser steps (ScriptParser.cpp).
  void NoticeNewConfiguration(ScriptLineOrigin origin);
  void ReadScriptEvent(const char*& cursor, const ScriptKeyword& keyword);
  int32_t ReadDirectNumber(const char*& cursor, int32_t code);
  void ReadScriptAction(const char*& cursor, const ScriptKeyword& keyword);
  uint16_t ParseTarget(const char*& cursor);
  // The load report's side of parsing (ScriptReport.cpp).
  void NoteSkippedWord(const char* word, const char* end, bool afterSkippedWord);
  void NoteObjectTarget(const char* at, int32_t number);
  void NoteCelTarget(const char* at, const char* name);
  void NoteDroppedRecord(const char* at, const ScriptKeyword& keyword);
  void NoteMissingNumber(const char* at, int32_t code);
  // Dispatch and the actions the engine checks itself (EventDispatch.cpp).
  friend struct ActionHandlers;
  void RunAction(const ActionRecord& record);
  void ChangeSetFromScript(int32_t set);
  void ChangeGroupFromScript(int32_t group);
  // Slot steps (TimerSlots.cpp).
  void ArmFromNow(int32_t slot, uint32_t delay);
  void ArmFromAlarm(int32_t slot, uint32_t delay);
  void FireAlarm(int32_t slot, uint32_t now);

  ScriptTarget& Target_;

  std::vector<ActionRecord> ActionStore_;
  size_t ActionStoreUsed_ = 0;  // bytes of kActionStoreSize the records take

  int32_t ScriptEvent_ = 1;  // "initialize(" until an event keyword says otherwise
  uint16_t ScriptEventArgument_ = 0;
  ScriptLineOrigin LastLineOrigin_;   // where the last script line was read
  LoadProblems* Problems_ = nullptr;  // where the line being parsed reports its problems

  int32_t Depth_ = 0;              // RunEvent calls now running, one inside another
  int32_t ScriptSetSwitches_ = 0;  // "changeset(" runs since the outermost event began

  std::array<uint8_t, kAlarmSlots> Armed_ = {};
  std::array<uint32_t, kAlarmSlots> Due_ = {};
  uint32_t AlarmTick_ = 0;  // tick of the pass that is firing alarms now
  int32_t Lateness_ = 0;    // how late the alarm being fired is, in ms

  uint32_t ScriptRandomState_ = 1;
};

}  // namespace tavro
