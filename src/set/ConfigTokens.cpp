// The configuration tokenizer.
#include "set/ConfigTokens.h"

#include <climits>

#include "set/SetRecords.h"

namespace tavro {
namespace {

bool IsConfigSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

bool ReadConfigLine(const char*& cursor, char* buffer, int size, int32_t& remaining) {
  int stored = 0;
  int carriageReturns = 0;
  for (;;) {
    if (remaining <= 0) return false;  // the partial line is not handed on
    const char c = *cursor++;
    --remaining;
    if (c == '\r') {
      // Carriage returns are never stored, and the second one in a line ends it: a file with
      // carriage returns alone as line ends reads as one line per two physical lines.
      if (++carriageReturns == 2) break;
      continue;
    }
    buffer[stored++] = c;
    if (c == '\n' || stored == size - 1) break;
  }
  buffer[stored] = '\0';
  return true;
}

void SkipSpace(const char*& cursor) {
  while (*cursor != '\0' && IsConfigSpace(*cursor)) ++cursor;
}

int32_t ParseNumber(const char*& cursor) {
  bool negative = false;
  if (*cursor == '-') {
    negative = true;
    ++cursor;
  }
  if (!IsDigit(*cursor)) return -1;
  // Numbers too large for 32 bits stick at the largest value rather than wrapping around into
  // small or negative ones that would mean something else.
  int64_t value = 0;
  while (IsDigit(*cursor)) {
    value = value * 10 + (*cursor - '0');
    if (value > INT32_MAX) value = INT32_MAX;
    ++cursor;
  }
  return static_cast<int32_t>(negative ? -value : value);
}

const char* CopyToken(char* destination, const char* source) {
  int copied = 0;
  while (copied < kTokenLength && *source != '\0' && !IsConfigSpace(*source)) {
    destination[copied++] = *source++;
  }
  destination[copied] = '\0';
  return source;
}

void CopyQuoted(char* destination, const char* source) {
  int copied = 0;
  while (copied < kTokenLength && *source != '\0' && *source != '"') {
    destination[copied++] = *source++;
  }
  destination[copied] = '\0';
}

}  // namespace tavro
