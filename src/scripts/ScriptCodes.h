// The codes a compiled script is made of, and the one table of keywords that the parser, the
// dispatcher and the load report all read: what each keyword is called, how its arguments are
// written and what runs it.
#pragma once

#include <cstdint>
#include <span>

#include "set/EventCodes.h"

namespace tavro {

class ScriptEngine;
struct ActionRecord;

// What a script can do.
enum ActionCode : int32_t {
  kActionSound = 100,
  kActionMap = 101,
  kActionUnmap = 102,
  kActionAltmap = 103,
  kActionDebug = 104,
  kActionTimer = 105,
  kActionRandomTimer = 106,
  kActionMove = 107,
  kActionChangeSet = 108,
  kActionChangeCol = 109,
  kActionTransparent = 110,
};

// A 16-bit target with this bit set names one cell (the index is in the low 15 bits).
inline constexpr uint16_t kCellTargetBit = 0x8000;

// How a keyword's arguments are written after its parenthesis.
enum class ArgumentLayout : uint8_t {
  None,            // nothing is read
  Number,          // a number directly after the parenthesis
  Target,          // "#" and an object number, or a cel name in double quotes
  Text,            // a text in double quotes
  SlotDelay,       // slot, delay
  SlotDelayRange,  // slot, delay, range
  TargetDistance,  // target, dx, dy
  TargetAmount,    // target, amount
};

struct ScriptKeyword {
  int32_t Code;
  const char* Text;  // includes the opening parenthesis
  ArgumentLayout Layout;
  // What an action does when its event happens; null for events.
  void (*Run)(ScriptEngine& engine, const ActionRecord& record);
};

// Every keyword, in the order they are searched.
std::span<const ScriptKeyword> ScriptKeywords();

// The keyword that the text at `at` starts with, compared case-sensitively in table order;
// nullptr when none does. `at` must be zero-terminated.
const ScriptKeyword* MatchScriptKeyword(const char* at);

// The keyword of an event or action code; nullptr for any other number.
const ScriptKeyword* KeywordOfCode(int32_t code);

inline bool IsEventCode(int32_t code) { return code >= kEventInitialize && code <= kEventFixDrop; }

}  // namespace tavro
