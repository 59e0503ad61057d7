// The configuration text's tokens, read at a cursor the caller owns. The text is bytes; white
// space is space, tab, line feed, vertical tab, form feed and carriage return, and nothing above
// 127 is either white space or a digit.
#pragma once

#include <cstdint>

namespace tavro {

// Reads the next line at `cursor` into `buffer` (`size` bytes, zero-terminated). `remaining`
// counts the bytes not yet read. Returns false when no (complete) line is left.
bool ReadConfigLine(const char*& cursor, char* buffer, int size, int32_t& remaining);
void SkipSpace(const char*& cursor);
// A decimal number, with an optional minus; -1 when no digit follows. Values too large for
// 32 bits stick at the largest one.
int32_t ParseNumber(const char*& cursor);
// Copies at most 19 bytes up to white space or the end of the line; returns the position after
// the last byte copied.
const char* CopyToken(char* destination, const char* source);
// Copies at most 19 bytes up to a double quote or the end of the line.
void CopyQuoted(char* destination, const char* source);

}  // namespace tavro
