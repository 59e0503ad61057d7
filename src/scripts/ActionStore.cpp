// Appending compiled actions to the document's store of 32,767 bytes.
#include <cstring>

#include "document/CTavroDoc.h"
#include "scripts/ActionRecord.h"

namespace tavro {
namespace {

// Bytes in use: the records before the first zero length byte.
size_t UsedBytes(const std::vector<uint8_t>& store) {
  size_t used = 0;
  ActionRecord record;
  while (ReadActionRecord(store, used, record)) used += record.Length;
  return used;
}

}  // namespace

bool CTavroDoc::AppendAction(int32_t event, int32_t eventArgument, int32_t action,
                             const std::vector<uint8_t>& arguments) {
  const size_t length = kRecordHeaderLength + arguments.size();
  if (length > kMaxRecordLength) return false;
  const size_t used = UsedBytes(ActionStore);
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
  return true;
}

}  // namespace tavro
