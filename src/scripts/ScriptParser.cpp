// Compiling ";@" lines into action records.
//
// A line holds any number of event and action keywords. An event keyword becomes the current
// event for every action after it, on this line and the following ones, until the next event
// keyword. Every scan here stops at the line's terminating zero.
#include <algorithm>
#include <cstring>
#include <functional>

#include "document/CTavroDoc.h"
#include "platform/FileLookup.h"
#include "scripts/ActionRecord.h"
#include "scripts/ScriptCodes.h"

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

// After the opening quote at `opening`: past the closing quote when the line has one, so that a
// ',' or ')' inside a quoted name or text is not taken for the argument list's own. Without a
// closing quote the cursor stays right after the opening byte.
const char* SkipQuotedText(const char* opening) {
  const char* afterOpening = opening + 1;
  if (*opening != '"') return afterOpening;
  const char* closing = std::strchr(afterOpening, '"');
  return closing == nullptr ? afterOpening : closing + 1;
}

}  // namespace

void CTavroDoc::ResetScriptParser() {
  ScriptEvent = kEventInitialize;
  ScriptEventArgument = 0;
  ScriptConfigText = ConfigText.data();
  ScriptTextCursor = TextCursor;
}

// Within one file the line reader moves forward through ConfigText by at least one byte a line,
// so another text, or a cursor that did not move on, means a new file has started even if the
// load driver did not say so.
void CTavroDoc::NoticeNewConfiguration() {
  const bool cursorWentBack = TextCursor != nullptr && !std::less<>()(ScriptTextCursor, TextCursor);
  if (ConfigText.data() != ScriptConfigText || cursorWentBack) ResetScriptParser();
  ScriptTextCursor = TextCursor;
}

void CTavroDoc::ParseScriptLine() {
  NoticeNewConfiguration();
  for (;;) {
    SkipSpace(ParseCursor);
    if (*ParseCursor == ';' || *ParseCursor == '\0') return;
    const ScriptKeyword* keyword = MatchScriptKeyword(ParseCursor);
    if (keyword == nullptr) {
      ParseCursor = SkipWord(ParseCursor);
      continue;
    }
    ParseCursor += std::strlen(keyword->Text);
    if (IsEventCode(keyword->Code)) {
      ReadScriptEvent(keyword->Code);
    } else {
      ReadScriptAction(keyword->Code);
    }
    ParseCursor = SkipPastClosing(ParseCursor);
  }
}

void CTavroDoc::ReadScriptEvent(int32_t code) {
  int32_t argument = 0;
  switch (code) {
    case kEventAlarm:
    case kEventSet:
      argument = ParseNumber(ParseCursor);  // directly after the parenthesis: a blank makes it -1
      break;
    case kEventInitialize:
      SeedScriptRandom(host().ClockSeconds());
      break;
    case kEventBegin:
    case kEventEnd:
      break;
    default:
      argument = ParseTarget();
      break;
  }
  ScriptEvent = code;
  ScriptEventArgument = static_cast<uint16_t>(argument & 0xFFFF);
}

namespace {

// A quoted text at the cursor: blanks skipped, the opening quote stepped over, at most 19 bytes.
void ReadQuotedText(CTavroDoc& doc, char (&text)[kTokenLength + 1]) {
  SkipSpace(doc.ParseCursor);
  text[0] = '\0';
  if (*doc.ParseCursor == '\0') return;
  CopyQuoted(text, doc.ParseCursor + 1);
  doc.ParseCursor = SkipQuotedText(doc.ParseCursor);
}

// The next number of an argument list: after the next comma and any blanks.
int32_t NextListNumber(CTavroDoc& doc) {
  doc.ParseCursor = SkipPastComma(doc.ParseCursor);
  SkipSpace(doc.ParseCursor);
  return ParseNumber(doc.ParseCursor);
}

}  // namespace

void CTavroDoc::ReadScriptAction(int32_t code) {
  RecordArguments arguments;
  char text[kTokenLength + 1];
  switch (code) {
    case kActionSound:
    case kActionDebug:
      ReadQuotedText(*this, text);
      arguments.Text(text);
      break;
    case kActionMap:
    case kActionUnmap:
    case kActionAltmap:
      arguments.U16(ParseTarget());
      break;
    case kActionTimer:
    case kActionRandomTimer:
      SkipSpace(ParseCursor);
      arguments.U8(ParseNumber(ParseCursor)).U16(NextListNumber(*this));
      if (code == kActionRandomTimer) arguments.U16(NextListNumber(*this));
      break;
    case kActionMove:
      arguments.U16(ParseTarget()).U16(NextListNumber(*this)).U16(NextListNumber(*this));
      break;
    case kActionChangeSet:
    case kActionChangeCol:
      arguments.U8(ParseNumber(ParseCursor));  // directly after the parenthesis
      break;
    case kActionTransparent:
      arguments.U16(ParseTarget()).U16(NextListNumber(*this));
      break;
    default:
      return;
  }
  AppendAction(ScriptEvent, ScriptEventArgument, code, arguments.Bytes());
}

uint16_t CTavroDoc::ParseTarget() {
  SkipSpace(ParseCursor);
  if (*ParseCursor == '#') {
    ++ParseCursor;
    const int32_t number = ParseNumber(ParseCursor);
    // Numbers that would spill into the cell-reference bit name no object; they must not turn
    // into a reference to some unrelated cel.
    return (number >= 0 && number < kCellTargetBit) ? static_cast<uint16_t>(number) : kNoTarget;
  }
  if (*ParseCursor == '\0') return kNoTarget;
  // Whatever stands here is taken for the opening quote, as scripts have always been read: a
  // bare number loses its first digit and then names no cel.
  char name[kNameField];
  CopyQuoted(name, ParseCursor + 1);
  ParseCursor = SkipQuotedText(ParseCursor);
  const int32_t cell = FindCellByName(name);
  return (cell < 0 || cell >= kCellTargetBit - 1) ? kNoTarget
                                                  : static_cast<uint16_t>(kCellTargetBit + cell);
}

int32_t CTavroDoc::FindCellByName(const char* name) const {
  const int32_t count = std::min<int32_t>(CellCount, static_cast<int32_t>(CellTable.size()));
  const std::string wanted(name);
  for (int32_t i = 0; i < count; ++i) {
    const char* fileName = CellTable[i].FileName;
    if (EqualsIgnoringCase(std::string(fileName, strnlen(fileName, kNameField)), wanted)) return i;
  }
  return -1;
}

}  // namespace tavro
