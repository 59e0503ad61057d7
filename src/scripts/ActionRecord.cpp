#include "scripts/ActionRecord.h"

#include <cstring>

namespace tavro {

uint8_t ActionRecord::U8(int offset) const {
  const int at = kRecordHeaderLength + offset;
  return at < Length ? Bytes[at] : 0;
}

uint16_t ActionRecord::U16(int offset) const {
  const int at = kRecordHeaderLength + offset;
  return at + 1 < Length ? static_cast<uint16_t>(Bytes[at] | (Bytes[at + 1] << 8)) : 0;
}

std::string ActionRecord::Text() const {
  std::string text;
  for (int at = kRecordHeaderLength; at < Length && Bytes[at] != 0; ++at) {
    text += static_cast<char>(Bytes[at]);
  }
  return text;
}

bool ReadActionRecord(const std::vector<uint8_t>& store, size_t offset, ActionRecord& record) {
  if (offset >= store.size()) return false;
  const int32_t length = store[offset];
  if (length == 0) return false;
  // A record shorter than its header or running past the store cannot have come from
  // AppendAction; stop there rather than read beyond.
  if (length < kRecordHeaderLength || offset + length > store.size()) return false;
  record.Bytes = store.data() + offset;
  record.Length = length;
  return true;
}

RecordArguments& RecordArguments::U8(int32_t value) {
  Collected.push_back(static_cast<uint8_t>(value & 0xFF));
  return *this;
}

RecordArguments& RecordArguments::U16(int32_t value) {
  Collected.push_back(static_cast<uint8_t>(value & 0xFF));
  Collected.push_back(static_cast<uint8_t>((value >> 8) & 0xFF));
  return *this;
}

RecordArguments& RecordArguments::Text(const char* text) {
  Collected.insert(Collected.end(), text, text + std::strlen(text));
  Collected.push_back(0);
  return *this;
}

}  // namespace tavro
