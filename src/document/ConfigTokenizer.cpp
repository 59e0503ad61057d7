// The configuration tokenizer. The text is bytes; white space is space, tab, line feed, vertical
// tab, form feed and carriage return, and nothing above 127 is either white space or a digit.
#include <climits>

#include "document/CTavroDoc.h"

namespace tavro {
namespace {

bool IsConfigSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

bool CTavroDoc::ReadConfigLine(char* buffer, int size, int32_t& remaining) {
  int stored = 0;
  int carriageReturns = 0;
  for (;;) {
    if (remaining <= 0) return false;  // the partial line is not handed on
    const char c = *TextCursor++;
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

void CTavroDoc::SkipSpace() {
  while (*ParseCursor != '\0' && IsConfigSpace(*ParseCursor)) ++ParseCursor;
}

int32_t CTavroDoc::ParseNumber() {
  bool negative = false;
  if (*ParseCursor == '-') {
    negative = true;
    ++ParseCursor;
  }
  if (!IsDigit(*ParseCursor)) return -1;
  // Numbers too large for 32 bits stick at the largest value rather than wrapping around into
  // small or negative ones that would mean something else.
  int64_t value = 0;
  while (IsDigit(*ParseCursor)) {
    value = value * 10 + (*ParseCursor - '0');
    if (value > INT32_MAX) value = INT32_MAX;
    ++ParseCursor;
  }
  return static_cast<int32_t>(negative ? -value : value);
}

const char* CTavroDoc::CopyToken(char* destination, const char* source) {
  int copied = 0;
  while (copied < kTokenLength && *source != '\0' && !IsConfigSpace(*source)) {
    destination[copied++] = *source++;
  }
  destination[copied] = '\0';
  return source;
}

void CTavroDoc::CopyQuoted(char* destination, const char* source) {
  int copied = 0;
  while (copied < kTokenLength && *source != '\0' && *source != '"') {
    destination[copied++] = *source++;
  }
  destination[copied] = '\0';
}

}  // namespace tavro
