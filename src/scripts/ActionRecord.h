// One compiled script action: the event it is bound to and what it does, with its arguments.
//
// The store's limit is counted in the bytes each record has always taken, so that the same
// scripts fit and the same ones are dropped: a 5-byte head (length, event, 16-bit event argument,
// action), then the arguments as 8- and 16-bit numbers or a zero-ended text.
#pragma once

#include <cstdint>
#include <string>
#include <variant>

namespace tavro {

inline constexpr int kRecordHeaderLength = 5;
inline constexpr int kMaxRecordLength = 255;  // the length was one byte

// "sound(" and "debug(": a name or a text of at most 19 bytes.
struct TextArgument {
  std::string Text;
};
// "map(", "unmap(", "altmap(": a target (see ScriptTarget).
struct TargetArgument {
  uint16_t Target = 0;
};
// "changeset(", "changecol(": a set or group number, its low 8 bits.
struct NumberArgument {
  uint8_t Number = 0;
};
// "timer(": a slot and a delay in ms.
struct TimerArguments {
  uint8_t Slot = 0;
  uint16_t Delay = 0;
};
// "randomtimer(": a slot, a delay in ms and the range of the random part added to it.
struct RandomTimerArguments {
  uint8_t Slot = 0;
  uint16_t Delay = 0;
  uint16_t Range = 0;
};
// "move(": a target and the distance.
struct MoveArguments {
  uint16_t Target = 0;
  int16_t Dx = 0;
  int16_t Dy = 0;
};
// "transparent(": a target and the change of its transparency.
struct TransparencyArguments {
  uint16_t Target = 0;
  int16_t Amount = 0;
};

using ActionArguments = std::variant<TextArgument, TargetArgument, NumberArgument, TimerArguments,
                                     RandomTimerArguments, MoveArguments, TransparencyArguments>;

struct ActionRecord {
  uint8_t Event = 0;
  uint16_t EventArgument = 0;
  uint8_t Action = 0;  // an ActionCode
  ActionArguments Arguments;
};

// The bytes `arguments` take in the store.
int32_t ArgumentBytes(const ActionArguments& arguments);
// The bytes the record takes in the store, its head included.
inline int32_t RecordLength(const ActionRecord& record) {
  return kRecordHeaderLength + ArgumentBytes(record.Arguments);
}

}  // namespace tavro
