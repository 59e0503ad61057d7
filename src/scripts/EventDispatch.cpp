// Running the actions bound to an event.
//
// Runs nest: "changeset(" raises "set(" inside the running event, an alarm that is very late may
// fire again inside its own run, and a "debug(" box keeps timer passes going while it is open.
// DispatchDepth counts the nesting; past kMaxDispatchDepth nothing more runs, so no script can
// exhaust the stack however its events call each other.
#include <variant>

#include "scripts/ActionHandlers.h"
#include "scripts/ActionRecord.h"
#include "scripts/ScriptCodes.h"
#include "scripts/ScriptEngine.h"
#include "scripts/ScriptLimits.h"
#include "set/SetRecords.h"

namespace tavro {

int32_t ScriptEngine::RunEvent(int32_t event, int32_t argument) {
  // Record arguments are unsigned 16-bit numbers: a negative argument matches nothing.
  if (argument < 0 || argument > 0xFFFF) return 0;
  if (Depth_ >= kMaxDispatchDepth) return 0;
  if (Depth_ == 0) ScriptSetSwitches_ = 0;
  ++Depth_;
  int32_t matched = 0;
  // By index, and on a copy of the record: the action may run other events, and those may show
  // a box during which anything can happen to the store, a new set loaded included.
  for (size_t i = 0; i < ActionStore_.size(); ++i) {
    if (ActionStore_[i].Event != event || ActionStore_[i].EventArgument != argument) continue;
    matched = 1;
    const ActionRecord record = ActionStore_[i];
    RunAction(record);
  }
  --Depth_;
  return matched;
}

void ScriptEngine::RunObjectEvent(int32_t event, int32_t objectNumber) {
  if (RunEvent(event, objectNumber) != 0) return;
  // Nothing bound to the object: try the very cel that was clicked, if it is shown.
  const int32_t cell = Target_.ShownCellUnderPointer();
  if (cell >= 0) RunEvent(event, kCellTargetBit + cell);
}

void ScriptEngine::RunAction(const ActionRecord& record) {
  const ScriptKeyword* keyword = KeywordOfCode(record.Action);
  if (keyword != nullptr && keyword->Run != nullptr) keyword->Run(*this, record);
}

// An action whose arguments are not of its own kind does nothing.
template <typename Arguments>
static const Arguments* ArgumentsOf(const ActionRecord& record) {
  return std::get_if<Arguments>(&record.Arguments);
}

void ActionHandlers::Sound(ScriptEngine& engine, const ActionRecord& record) {
  if (const auto* a = ArgumentsOf<TextArgument>(record)) engine.Target_.PlaySound(a->Text);
}

void ActionHandlers::Map(ScriptEngine& engine, const ActionRecord& record) {
  if (const auto* a = ArgumentsOf<TargetArgument>(record))
    engine.Target_.ChangeCels(a->Target, ScriptTarget::CelChange::Show);
}

void ActionHandlers::Unmap(ScriptEngine& engine, const ActionRecord& record) {
  if (const auto* a = ArgumentsOf<TargetArgument>(record))
    engine.Target_.ChangeCels(a->Target, ScriptTarget::CelChange::Hide);
}

void ActionHandlers::Altmap(ScriptEngine& engine, const ActionRecord& record) {
  if (const auto* a = ArgumentsOf<TargetArgument>(record))
    engine.Target_.ChangeCels(a->Target, ScriptTarget::CelChange::Toggle);
}

void ActionHandlers::Debug(ScriptEngine& engine, const ActionRecord& record) {
  if (const auto* a = ArgumentsOf<TextArgument>(record)) engine.Target_.ShowDebugText(a->Text);
}

void ActionHandlers::Timer(ScriptEngine& engine, const ActionRecord& record) {
  if (const auto* a = ArgumentsOf<TimerArguments>(record))
    engine.ArmAlarm(a->Slot, a->Delay, 0, record.Event);
}

void ActionHandlers::RandomTimer(ScriptEngine& engine, const ActionRecord& record) {
  if (const auto* a = ArgumentsOf<RandomTimerArguments>(record))
    engine.ArmAlarm(a->Slot, a->Delay, a->Range, record.Event);
}

void ActionHandlers::Move(ScriptEngine& engine, const ActionRecord& record) {
  if (const auto* a = ArgumentsOf<MoveArguments>(record))
    engine.Target_.MoveObject(a->Target, a->Dx, a->Dy);
}

void ActionHandlers::ChangeSet(ScriptEngine& engine, const ActionRecord& record) {
  if (const auto* a = ArgumentsOf<NumberArgument>(record)) engine.ChangeSetFromScript(a->Number);
}

void ActionHandlers::ChangeCol(ScriptEngine& engine, const ActionRecord& record) {
  if (const auto* a = ArgumentsOf<NumberArgument>(record)) engine.ChangeGroupFromScript(a->Number);
}

void ActionHandlers::Transparent(ScriptEngine& engine, const ActionRecord& record) {
  if (const auto* a = ArgumentsOf<TransparencyArguments>(record))
    engine.Target_.ShiftTransparency(a->Target, a->Amount);
}

// "set(" events may switch sets themselves, so a switch is refused once the chain of nested
// runs is deep, or once this event has switched sets many times already.
void ScriptEngine::ChangeSetFromScript(int32_t set) {
  if (Depth_ >= kMaxSetSwitchDepth) return;
  if (ScriptSetSwitches_ >= kMaxSetSwitchesPerEvent) return;
  ++ScriptSetSwitches_;
  Target_.SwitchSet(set);
}

// There are ten colour groups; another number would read past them, and is ignored.
void ScriptEngine::ChangeGroupFromScript(int32_t group) {
  if (group < 0 || group >= kGroupCount) return;
  Target_.SwitchGroup(group);
}

}  // namespace tavro
