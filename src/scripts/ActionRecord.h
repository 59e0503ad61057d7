// The byte layout of one compiled script action in ActionStore.
//
//   byte 0      Length, this byte included (0 ends the list)
//   byte 1      Event
//   bytes 2-3   EventArgument, little-endian
//   byte 4      Action
//   bytes 5...  the action's arguments, little-endian 8- and 16-bit numbers or a zero-ended text
//
// Records lie back to back in script order. They come from a configuration file and are read
// as bytes, so every read here is checked against the record's length.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tavro {

inline constexpr int kRecordHeaderLength = 5;
inline constexpr int kMaxRecordLength = 255;  // the length is one byte

// One record as read from the store; `Bytes` points at its first byte.
struct ActionRecord {
  const uint8_t* Bytes = nullptr;
  int32_t Length = 0;

  int32_t Event() const { return Bytes[1]; }
  uint16_t EventArgument() const { return static_cast<uint16_t>(Bytes[2] | (Bytes[3] << 8)); }
  int32_t Action() const { return Bytes[4]; }
  // Arguments by their offset from byte 5; 0 when the record is too short to hold them.
  uint8_t U8(int offset) const;
  uint16_t U16(int offset) const;
  // The zero-ended text from byte 5, cut at the record's end.
  std::string Text() const;
};

// The record starting at `offset`, or false at the end of the list (a zero length byte) or
// when the record would run past the end of the store.
bool ReadActionRecord(const std::vector<uint8_t>& store, size_t offset, ActionRecord& record);

// Collects an action's argument bytes, keeping the low 8 or 16 bits of each number.
class RecordArguments {
 public:
  RecordArguments& U8(int32_t value);
  RecordArguments& U16(int32_t value);
  // The text and its terminating zero.
  RecordArguments& Text(const char* text);
  const std::vector<uint8_t>& Bytes() const { return Collected; }

 private:
  std::vector<uint8_t> Collected;
};

}  // namespace tavro
