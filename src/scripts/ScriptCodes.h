// The codes a compiled script is made of, and the table of keywords that name them.
#pragma once

#include <cstdint>
#include <span>

#include "set/EventCodes.h"

namespace tavro {

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

struct ScriptKeyword {
  int32_t Code;
  const char* Text;  // includes the opening parenthesis
};

// Every keyword, in the order they are searched.
std::span<const ScriptKeyword> ScriptKeywords();

// The keyword that the text at `at` starts with, compared case-sensitively in table order;
// nullptr when none does. `at` must be zero-terminated.
const ScriptKeyword* MatchScriptKeyword(const char* at);

inline bool IsEventCode(int32_t code) { return code >= kEventInitialize && code <= kEventFixDrop; }

}  // namespace tavro
