// The store of compiled actions. It holds typed records, but its limit is counted in the bytes
// each record has always taken, 32,767 of them, so that the same scripts fit as ever.
#include <algorithm>
#include <utility>

#include "scripts/ActionRecord.h"
#include "scripts/ScriptEngine.h"

namespace tavro {

ScriptEngine::ScriptEngine(ScriptTarget& target) : Target_(target) {}

void ScriptEngine::ReplaceActions(const std::vector<ActionRecord>& records) {
  // A copy first: the records may be this engine's own, which clearing would take away.
  const std::vector<ActionRecord> taken = records;
  ClearActions();
  for (const ActionRecord& record : taken) {
    AppendAction(record.Event, record.EventArgument, record.Action, record.Arguments);
  }
}

void ScriptEngine::ClearActions() {
  ActionStore_.clear();
  ActionStoreUsed_ = 0;
}

bool ScriptEngine::AppendAction(int32_t event, int32_t eventArgument, int32_t action,
                                ActionArguments arguments) {
  const size_t length = kRecordHeaderLength + static_cast<size_t>(ArgumentBytes(arguments));
  if (length > kMaxRecordLength) return false;
  // Strictly more space than the record needs: in the byte store these counts come from, a zero
  // byte always followed the last record to end the list. A record that does not fit is
  // dropped, and a shorter one after it may still fit.
  if (kActionStoreSize - ActionStoreUsed_ <= length) return false;
  ActionStore_.push_back({static_cast<uint8_t>(event),
                          static_cast<uint16_t>(eventArgument & 0xFFFF),
                          static_cast<uint8_t>(action), std::move(arguments)});
  ActionStoreUsed_ += length;
  return true;
}

}  // namespace tavro
