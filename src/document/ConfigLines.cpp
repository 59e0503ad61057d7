// Choosing a configuration line's handler by its first byte, and the two small line kinds:
// palette lines ('%') and the playfield size ('(').
#include <algorithm>

#include "document/CTavroDoc.h"

namespace tavro {

void CTavroDoc::DispatchConfigLine(const char* line) {
  const bool continuation = line[0] == ' ' && PreviousFirstByte == '$';
  // A continuation counts as part of its set line, so the next space line continues it too.
  PreviousFirstByte = continuation ? '$' : line[0];
  if (continuation) {
    ContinueSetLine(line);
    return;
  }
  switch (line[0]) {
    case '#':
      ParseCelLine(line);
      break;
    case '$':
      BeginSetLine(line);
      break;
    case '%':
      ParsePaletteLine(line);
      break;
    case '(':
      ParseSizeLine(line);
      break;
    case ';':
      if (line[1] == '@') {
        const char* cursor = line + 2;
        Engine.ParseScriptLine(cursor, {ConfigText.data(), TextCursor});
      }
      break;
    default:  // comments, blank lines, lines that start with a tab
      break;
  }
}

// The name starts right after '%': "% name" names the empty file, which is then not found. The
// palette number is used up whether or not the file loads.
void CTavroDoc::ParsePaletteLine(const char* line) {
  if (PaletteCount >= kMaxPaletteLines) return;
  char* name = PaletteNames[PaletteCount].data();
  CopyToken(name, line + 1);
  LoadPaletteFile(name, PaletteCount);
  ++PaletteCount;
}

// "(width,height", any one byte between, the ')' optional. A later size line replaces an
// earlier one. A width or height that is missing, zero or negative would leave a playfield of no
// pixels (and a map of no rows) behind; such a value keeps the size in force instead.
void CTavroDoc::ParseSizeLine(const char* line) {
  ParseCursor = line + 1;
  const int32_t width = ParseNumber(ParseCursor);
  if (*ParseCursor != '\0') ++ParseCursor;
  const int32_t height = ParseNumber(ParseCursor);
  if (width > 0) PlayfieldWidth = std::min(width, kMaxPlayfieldWidth);
  if (height > 0) PlayfieldHeight = std::min(height, kMaxPlayfieldHeight);
}

}  // namespace tavro
