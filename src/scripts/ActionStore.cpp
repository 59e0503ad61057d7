// The store of compiled actions: 32,767 bytes of records, appended to and zeroed whole.
#include <algorithm>
#include <cstring>

#include "scripts/ActionRecord.h"
#include "scripts/ScriptEngine.h"

namespace tavro {

ScriptEngine::ScriptEngine(ScriptTarget& target)
    : Target(target), ActionStore(kActionStoreSize, 0) {}

// The end remembered from the old records says nothing about new ones; a coincidence of two
// bytes could otherwise make an append land inside a record.
void ScriptEngine::ReplaceActions(const std::vector<uint8_t>& store) {
  ActionStore.assign(kActionStoreSize, 0);
  std::copy_n(store.begin(), std::min(store.size(), ActionStore.size()), ActionStore.begin());
  ActionStoreEnd = 0;
  ActionStoreLast = 0;
}

void ScriptEngine::ClearActions() {
  std::fill(ActionStore.begin(), ActionStore.end(), uint8_t{0});
  ActionStoreEnd = 0;
  ActionStoreLast = 0;
}

// Bytes in use: the records before the first zero length byte. A configuration may hold
// millions of script lines, so the end found last time is reused while it still holds (the
// store is only appended to, or zeroed whole before the next file); walking every record for
// every line would make such a file take minutes to read.
size_t ScriptEngine::ActionStoreUsed() {
  const auto& store = ActionStore;
  const bool endHolds =
      ActionStoreEnd < store.size() && store[ActionStoreEnd] == 0 &&
      (ActionStoreEnd == 0 ||
       (store[ActionStoreLast] != 0 && ActionStoreLast + store[ActionStoreLast] == ActionStoreEnd));
  if (endHolds) return ActionStoreEnd;
  size_t used = 0;
  size_t last = 0;
  ActionRecord record;
  while (ReadActionRecord(store, used, record)) {
    last = used;
    used += record.Length;
  }
  ActionStoreEnd = used;
  ActionStoreLast = last;
  return used;
}

bool ScriptEngine::AppendAction(int32_t event, int32_t eventArgument, int32_t action,
                                const std::vector<uint8_t>& arguments) {
  const size_t length = kRecordHeaderLength + arguments.size();
  if (length > kMaxRecordLength) return false;
  const size_t used = ActionStoreUsed();
  // Strictly more space than the record needs: a zero byte must always follow the last record,
  // as that is what ends the list. A record that does not fit is dropped, and a shorter one
  // after it may still fit.
  if (ActionStore.size() - used <= length) return false;
  uint8_t* at = ActionStore.data() + used;
  at[0] = static_cast<uint8_t>(length);
  at[1] = static_cast<uint8_t>(event);
  at[2] = static_cast<uint8_t>(eventArgument & 0xFF);
  at[3] = static_cast<uint8_t>((eventArgument >> 8) & 0xFF);
  at[4] = static_cast<uint8_t>(action);
  if (!arguments.empty()) std::memcpy(at + kRecordHeaderLength, arguments.data(), arguments.size());
  ActionStoreLast = used;
  ActionStoreEnd = used + length;
  return true;
}

}  // namespace tavro
