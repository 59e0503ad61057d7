// Running the actions bound to an event.
//
// Runs nest: "changeset(" raises "set(" inside the running event, an alarm that is very late may
// fire again inside its own run, and a "debug(" box keeps timer passes going while it is open.
// DispatchDepth counts the nesting; past kMaxDispatchDepth nothing more runs, so no script can
// exhaust the stack however its events call each other.
#include <cstring>

#include "scripts/ActionRecord.h"
#include "scripts/ScriptCodes.h"
#include "scripts/ScriptEngine.h"
#include "scripts/ScriptLimits.h"
#include "set/SetRecords.h"

namespace tavro {

int32_t ScriptEngine::RunEvent(int32_t event, int32_t argument) {
  // Record arguments are unsigned 16-bit numbers: a negative argument matches nothing.
  if (argument < 0 || argument > 0xFFFF) return 0;
  if (Depth >= kMaxDispatchDepth) return 0;
  if (Depth == 0) ScriptSetSwitches = 0;
  ++Depth;
  int32_t matched = 0;
  size_t offset = 0;
  ActionRecord record;
  while (ReadActionRecord(ActionStore, offset, record)) {
    offset += record.Length;
    if (record.Event() != event || record.EventArgument() != argument) continue;
    matched = 1;
    // The action may run other events, and those may show a box during which anything can
    // happen; work on a copy of the record, never on the store itself.
    uint8_t copy[kMaxRecordLength];
    std::memcpy(copy, record.Bytes, record.Length);
    RunAction(copy, record.Length);
  }
  --Depth;
  return matched;
}

void ScriptEngine::RunObjectEvent(int32_t event, int32_t objectNumber) {
  if (RunEvent(event, objectNumber) != 0) return;
  // Nothing bound to the object: try the very cel that was clicked, if it is shown.
  const int32_t cell = Target.ShownCellUnderPointer();
  if (cell >= 0) RunEvent(event, kCellTargetBit + cell);
}

void ScriptEngine::RunAction(const uint8_t* bytes, int32_t length) {
  const ActionRecord record{bytes, length};
  switch (record.Action()) {
    case kActionSound:
      Target.PlaySound(record.Text());
      break;
    case kActionMap:
      Target.ChangeCels(record.U16(0), ScriptTarget::CelChange::Show);
      break;
    case kActionUnmap:
      Target.ChangeCels(record.U16(0), ScriptTarget::CelChange::Hide);
      break;
    case kActionAltmap:
      Target.ChangeCels(record.U16(0), ScriptTarget::CelChange::Toggle);
      break;
    case kActionDebug:
      Target.ShowDebugText(record.Text());
      break;
    case kActionTimer:
      ArmAlarm(record.U8(0), record.U16(1), 0, record.Event());
      break;
    case kActionRandomTimer:
      ArmAlarm(record.U8(0), record.U16(1), record.U16(3), record.Event());
      break;
    case kActionMove:
      Target.MoveObject(record.U16(0), static_cast<int16_t>(record.U16(2)),
                        static_cast<int16_t>(record.U16(4)));
      break;
    case kActionChangeSet:
      ChangeSetFromScript(record.U8(0));
      break;
    case kActionChangeCol:
      ChangeGroupFromScript(record.U8(0));
      break;
    case kActionTransparent:
      Target.ShiftTransparency(record.U16(0), static_cast<int16_t>(record.U16(2)));
      break;
    default:
      break;
  }
}

// "set(" events may switch sets themselves, so a switch is refused once the chain of nested
// runs is deep, or once this event has switched sets many times already.
void ScriptEngine::ChangeSetFromScript(int32_t set) {
  if (Depth >= kMaxSetSwitchDepth) return;
  if (ScriptSetSwitches >= kMaxSetSwitchesPerEvent) return;
  ++ScriptSetSwitches;
  Target.SwitchSet(set);
}

// There are ten colour groups; another number would read past them, and is ignored.
void ScriptEngine::ChangeGroupFromScript(int32_t group) {
  if (group < 0 || group >= kGroupCount) return;
  Target.SwitchGroup(group);
}

}  // namespace tavro
