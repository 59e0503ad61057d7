// Set lines: '$' colour group, then per object number either '*' or x, one separator byte, y.
// A line that starts with a space right after a set line (or one of its continuations) goes on
// from the object number where the previous line stopped. Only ten sets exist: an eleventh '$'
// line and its continuations are read and dropped.
#include "document/CTavroDoc.h"
#include "set/Saturate.h"

namespace tavro {

void CTavroDoc::BeginSetLine(const char* line) {
  if (SetIndex < kSetCount) ++SetIndex;  // stops at 10, so endless '$' lines cannot overflow it
  if (SetIndex >= kSetCount) return;
  ParseCursor = line + 1;
  const int32_t group = ParseNumber(ParseCursor);
  // Taken as written, without a range test: a group of 12 is stored as 12.
  if (group >= 0) SetGroup[SetIndex] = SaturateInt16(group);
  NextSetObject = ParseSetLine(SetIndex, 0);
}

void CTavroDoc::ContinueSetLine(const char* line) {
  if (SetIndex < 0 || SetIndex >= kSetCount) return;
  ParseCursor = line;
  NextSetObject = ParseSetLine(SetIndex, NextSetObject);
}

int32_t CTavroDoc::ParseSetLine(int32_t setIndex, int32_t firstObject) {
  int32_t object = firstObject;
  // Every pass consumes at least one byte or stops, so a huge ObjectCount costs nothing.
  while (object < ObjectCount) {
    SkipSpace(ParseCursor);
    if (*ParseCursor == '\0') break;
    if (*ParseCursor == '*') {
      ++ParseCursor;
      ++object;
      continue;
    }
    const int32_t x = ParseNumber(ParseCursor);
    if (x < 0) break;
    // The separator may be any byte, but never the end of the line: a line cut after x must not
    // be read past its terminating zero.
    if (*ParseCursor != '\0') ++ParseCursor;
    const int32_t y = ParseNumber(ParseCursor);
    if (y < 0) break;
    StoreSetPosition(setIndex, object, x, y);
    ++object;
  }
  return object;
}

// Positions for object numbers that have no slot are read and dropped.
void CTavroDoc::StoreSetPosition(int32_t setIndex, int32_t object, int32_t x, int32_t y) {
  if (setIndex < 0 || setIndex >= kSetCount) return;
  const uint16_t slot = SlotOf(object);
  if (slot == 0 || slot >= ObjectTable.size()) return;
  ObjectTable[slot].SetX[setIndex] = SaturateInt16(x);
  ObjectTable[slot].SetY[setIndex] = SaturateInt16(y);
}

}  // namespace tavro
