// Compiling ";@" lines into action records.
//
// A line holds any number of event and action keywords. An event keyword becomes the current
// event for every action after it, on this line and the following ones, until the next event
// keyword. Every scan here stops at the line's terminating zero.
#include <cstring>
#include <functional>
#include <utility>

#include "scripts/ActionRecord.h"
#include "scripts/ScriptCodes.h"
#include "scripts/ScriptEngine.h"
#include "set/ConfigTokens.h"
#include "set/SetRecords.h"

namespace tavro {
namespace {

bool IsScriptSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Past the word at `at`: at least one byte, then on to white space, ';' or the end.
const char* SkipWord(const char* at) {
  if (*at != '\0') ++at;
  while (*at != '\0' && !IsScriptSpace(*at) && *at != ';') ++at;
  return at;
}

// One byte past the next ')' or ';', or the end of the line when there is neither.
const char* SkipPastClosing(const char* at) {
  while (*at != '\0' && *at != ')' && *at != ';') ++at;
  return *at == '\0' ? at : at + 1;
}

// One byte past the next ',' of this argument list. The scan stops at the list's ')' (or a
// ';') so that a missing comma reads the remaining arguments as missing (-1) instead of taking
// them from a later keyword on the same line.
const char* SkipPastComma(const char* at) {
  while (*at != '\0' && *at != ',' && *at != ')' && *at != ';') ++at;
  return *at == ',' ? at + 1 : at;
}

// After the opening quote at `opening`: past the closing quote, so that a ',' ')' or ';' inside a
// quoted name or text is not taken for the argument list's own. The next quote closes only where
// the argument can end (blanks, then ',' ')' ';' or the line's end); otherwise it opens a later
// keyword's argument, and the cursor stays right after the opening byte, so that a quote left
// open does not swallow the keywords after it.
const char* SkipQuotedText(const char* opening) {
  const char* afterOpening = opening + 1;
  if (*opening != '"') return afterOpening;
  const char* closing = std::strchr(afterOpening, '"');
  if (closing == nullptr) return afterOpening;
  const char* after = closing + 1;
  while (IsScriptSpace(*after)) ++after;
  const bool argumentEnds = *after == ',' || *after == ')' || *after == ';' || *after == '\0';
  return argumentEnds ? closing + 1 : afterOpening;
}

}  // namespace

void ScriptEngine::ResetScriptParser(ScriptLineOrigin origin) {
  ScriptEvent_ = kEventInitialize;
  ScriptEventArgument_ = 0;
  LastLineOrigin_ = origin;
}

// Within one file the line reader moves forward through its text by at least one byte a line,
// so another text, or a position that did not move on, means a new file has started even if the
// load driver did not say so.
void ScriptEngine::NoticeNewConfiguration(ScriptLineOrigin origin) {
  const bool cursorWentBack =
      origin.Position != nullptr && !std::less<>()(LastLineOrigin_.Position, origin.Position);
  if (origin.Text != LastLineOrigin_.Text || cursorWentBack) ResetScriptParser(origin);
  LastLineOrigin_.Position = origin.Position;
}

void ScriptEngine::ParseScriptLine(const char*& cursor, ScriptLineOrigin origin,
                                   LoadProblems& problems) {
  NoticeNewConfiguration(origin);
  Problems_ = &problems;
  bool afterSkippedWord = false;
  for (;;) {
    SkipSpace(cursor);
    if (*cursor == ';' || *cursor == '\0') break;
    const ScriptKeyword* keyword = MatchScriptKeyword(cursor);
    if (keyword == nullptr) {
      const char* word = cursor;
      cursor = SkipWord(cursor);
      NoteSkippedWord(word, cursor, afterSkippedWord);
      afterSkippedWord = true;
      continue;
    }
    afterSkippedWord = false;
    cursor += std::strlen(keyword->Text);
    if (IsEventCode(keyword->Code)) {
      ReadScriptEvent(cursor, *keyword);
    } else {
      ReadScriptAction(cursor, *keyword);
    }
    cursor = SkipPastClosing(cursor);
  }
  Problems_ = nullptr;
}

void ScriptEngine::ReadScriptEvent(const char*& cursor, const ScriptKeyword& keyword) {
  int32_t argument = 0;
  switch (keyword.Layout) {
    case ArgumentLayout::Number:
      argument = ReadDirectNumber(cursor, keyword.Code);
      break;
    case ArgumentLayout::Target:
      argument = ParseTarget(cursor);
      break;
    default:
      break;
  }
  if (keyword.Code == kEventInitialize) SeedScriptRandom(Target_.ClockSeconds());
  ScriptEvent_ = keyword.Code;
  ScriptEventArgument_ = static_cast<uint16_t>(argument & 0xFFFF);
}

namespace {

// A quoted text at the cursor: blanks skipped, the opening quote stepped over, at most 19 bytes.
void ReadQuotedText(const char*& cursor, char (&text)[kTokenLength + 1]) {
  SkipSpace(cursor);
  text[0] = '\0';
  if (*cursor == '\0') return;
  CopyQuoted(text, cursor + 1);
  cursor = SkipQuotedText(cursor);
}

// The next number of an argument list: after the next comma and any blanks.
int32_t NextListNumber(const char*& cursor) {
  cursor = SkipPastComma(cursor);
  SkipSpace(cursor);
  return ParseNumber(cursor);
}

// Records keep the low 8 or 16 bits of a number, as they always have (-1 becomes 0xFF or 0xFFFF).
uint8_t Low8(int32_t value) { return static_cast<uint8_t>(value & 0xFF); }
uint16_t Low16(int32_t value) { return static_cast<uint16_t>(value & 0xFFFF); }

}  // namespace

// A number directly after the parenthesis: a blank makes it -1, which matches nothing.
int32_t ScriptEngine::ReadDirectNumber(const char*& cursor, int32_t code) {
  const char* at = cursor;
  const int32_t number = ParseNumber(cursor);
  if (number < 0) NoteMissingNumber(at, code);
  return number;
}

void ScriptEngine::ReadScriptAction(const char*& cursor, const ScriptKeyword& keyword) {
  const char* keywordEnd = cursor;
  ActionArguments arguments;
  switch (keyword.Layout) {
    case ArgumentLayout::Text: {
      char text[kTokenLength + 1];
      ReadQuotedText(cursor, text);
      arguments = TextArgument{text};
      break;
    }
    case ArgumentLayout::Target:
      arguments = TargetArgument{ParseTarget(cursor)};
      break;
    case ArgumentLayout::SlotDelay:
    case ArgumentLayout::SlotDelayRange: {
      SkipSpace(cursor);
      const auto slot = Low8(ParseNumber(cursor));
      const auto delay = Low16(NextListNumber(cursor));
      if (keyword.Layout == ArgumentLayout::SlotDelay) {
        arguments = TimerArguments{slot, delay};
      } else {
        arguments = RandomTimerArguments{slot, delay, Low16(NextListNumber(cursor))};
      }
      break;
    }
    case ArgumentLayout::TargetDistance: {
      const uint16_t target = ParseTarget(cursor);
      const auto dx = static_cast<int16_t>(Low16(NextListNumber(cursor)));
      arguments = MoveArguments{target, dx, static_cast<int16_t>(Low16(NextListNumber(cursor)))};
      break;
    }
    case ArgumentLayout::Number:
      arguments = NumberArgument{Low8(ReadDirectNumber(cursor, keyword.Code))};
      break;
    case ArgumentLayout::TargetAmount: {
      const uint16_t target = ParseTarget(cursor);
      arguments =
          TransparencyArguments{target, static_cast<int16_t>(Low16(NextListNumber(cursor)))};
      break;
    }
    default:
      return;
  }
  if (!AppendAction(ScriptEvent_, ScriptEventArgument_, keyword.Code, std::move(arguments))) {
    NoteDroppedRecord(keywordEnd - std::strlen(keyword.Text), keyword);
  }
}

// "#" and an object number, or a quoted cel name: the object number (0..0x7FFF),
// kCellTargetBit + cell index, or kNoTarget.
uint16_t ScriptEngine::ParseTarget(const char*& cursor) {
  SkipSpace(cursor);
  const char* at = cursor;
  if (*cursor == '#') {
    ++cursor;
    const int32_t number = ParseNumber(cursor);
    // Numbers that would spill into the cell-reference bit name no object; they must not turn
    // into a reference to some unrelated cel.
    const bool valid = number >= 0 && number < kCellTargetBit;
    if (!valid || !Target_.HasObject(number)) NoteObjectTarget(at, number);
    return valid ? static_cast<uint16_t>(number) : kNoTarget;
  }
  if (*cursor == '\0') {
    NoteCelTarget(at, nullptr);
    return kNoTarget;
  }
  // Whatever stands here is taken for the opening quote, as scripts have always been read: a
  // bare number loses its first digit and then names no cel.
  char name[kNameField];
  CopyQuoted(name, cursor + 1);
  cursor = SkipQuotedText(cursor);
  const int32_t cell = Target_.FindCellByName(name);
  const bool found = cell >= 0 && cell < kCellTargetBit - 1;
  if (!found || *at != '"') NoteCelTarget(at, name);
  return found ? static_cast<uint16_t>(kCellTargetBit + cell) : kNoTarget;
}

}  // namespace tavro
