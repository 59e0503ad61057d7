// Running the actions bound to an event.
//
// Runs nest: "changeset(" raises "set(" inside the running event, an alarm that is very late may
// fire again inside its own run, and a "debug(" box keeps timer passes going while it is open.
// DispatchDepth counts the nesting; past kMaxDispatchDepth nothing more runs, so no script can
// exhaust the stack however its events call each other.
#include <cstring>

#include "document/CTavroDoc.h"
#include "scripts/ActionRecord.h"
#include "scripts/ScriptCodes.h"
#include "scripts/ScriptLimits.h"

namespace tavro {

int32_t CTavroDoc::RunEvent(int32_t event, int32_t argument) {
  // Record arguments are unsigned 16-bit numbers: a negative argument matches nothing.
  if (argument < 0 || argument > 0xFFFF) return 0;
  if (DispatchDepth >= kMaxDispatchDepth) return 0;
  if (DispatchDepth == 0) ScriptSetSwitches = 0;
  ++DispatchDepth;
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
  --DispatchDepth;
  return matched;
}

void CTavroDoc::RunObjectEvent(int32_t event, int32_t objectNumber) {
  if (RunEvent(event, objectNumber) != 0) return;
  // Nothing bound to the object: try the very cel that was clicked, if it is shown.
  const int32_t hit = Pointing.LastHitCell();
  if (hit < 0 || hit >= CellCount || hit >= static_cast<int32_t>(CellTable.size())) {
    return;
  }
  const CellEntry& cell = CellTable[hit];
  const bool shown =
      CurrentSet >= kSetCount || (((cell.SetMask >> CurrentSet) & 1) != 0 && cell.Unmapped == 0);
  if (shown) RunEvent(event, kCellTargetBit + hit);
}

void CTavroDoc::RunAction(const uint8_t* bytes, int32_t length) {
  const ActionRecord record{bytes, length};
  switch (record.Action()) {
    case kActionSound:
      PlaySetSound(record.Text());
      break;
    case kActionMap:
      MapCells(record.U16(0));
      break;
    case kActionUnmap:
      UnmapCells(record.U16(0));
      break;
    case kActionAltmap:
      ToggleCells(record.U16(0));
      break;
    case kActionDebug:
      ShowDebugText(record.Text());
      break;
    case kActionTimer:
      ArmAlarm(record.U8(0), record.U16(1), 0, record.Event());
      break;
    case kActionRandomTimer:
      ArmAlarm(record.U8(0), record.U16(1), record.U16(3), record.Event());
      break;
    case kActionMove:
      MoveObject(record.U16(0), static_cast<int16_t>(record.U16(2)),
                 static_cast<int16_t>(record.U16(4)));
      break;
    case kActionChangeSet:
      ChangeSetFromScript(record.U8(0));
      break;
    case kActionChangeCol:
      ChangeGroupFromScript(record.U8(0));
      break;
    case kActionTransparent:
      ShiftTransparency(record.U16(0), static_cast<int16_t>(record.U16(2)));
      break;
    default:
      break;
  }
}

}  // namespace tavro
