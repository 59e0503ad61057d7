// Cel lines: '#' object number, optional '.' fix value, the file name, optional '*' palette
// number, optional ':' set list, optional ";%T" transparency remark. The cel is loaded the moment
// its line has been read, so it sees the playfield size and palette bases known at that point.
#include <algorithm>

#include "document/CTavroDoc.h"
#include "set/Saturate.h"

namespace tavro {

void CTavroDoc::ParseCelLine(const char* line) {
  if (CellCount >= kMaxCells) {
    LoadErrors |= kErrTooManyCells;
    return;
  }
  if (static_cast<size_t>(CellCount) >= CellTable.size()) return;  // no table: nothing to fill
  ParseCursor = line + 1;
  const int32_t number = ParseNumber(ParseCursor);
  if (number < 0) return;
  SkipSpace(ParseCursor);
  int32_t fix = 0;
  if (*ParseCursor == '.') {
    ++ParseCursor;
    fix = std::max(ParseNumber(ParseCursor), 0);
  }
  SkipSpace(ParseCursor);
  CellEntry& cell = CellTable[CellCount];
  ParseCursor = CopyToken(cell.FileName, ParseCursor);
  if (!AttachCelToObject(cell, number, fix)) return;
  SkipSpace(ParseCursor);
  cell.PaletteNumber = 0;
  if (*ParseCursor == '*') {
    ++ParseCursor;
    cell.PaletteNumber = static_cast<uint8_t>(std::max(ParseNumber(ParseCursor), 0) & 0xFF);
  }
  const uint32_t mask = ReadSetList();
  if (mask == 0) return;  // a ':' naming no set: the object counts, the cel does not
  cell.SetMask = static_cast<uint16_t>(mask & 0xFFFF);
  cell.Unmapped = 0;
  cell.Transparency = 0;
  ReadTransparencyRemark(cell);
  for (int set = 0; set < kSetCount; ++set) {
    if (mask & (1u << set)) SetInUse[set] = 1;
  }
  ++CellCount;
  LoadErrors |= LoadCel(cell);
}

// Gives the object number its slot and adds the fix value. The object counts even when its cel
// does not (a ':' with no set after it) and even when its number is far too large to load.
bool CTavroDoc::AttachCelToObject(CellEntry& cell, int32_t number, int32_t fix) {
  ObjectCount = std::max(ObjectCount, SaturateInt32(int64_t{number} + 1));
  const uint16_t slot = EnsureSlot(number);
  if (slot == 0) return false;  // every slot handed out: no cel can belong to it
  ObjectEntry& object = ObjectTable[slot];
  cell.ObjectNumber = SaturateInt16(number);
  object.FixTotal = SaturateInt16(int64_t{object.FixTotal} + fix);
  object.FixRemaining = object.FixTotal;
  return true;
}

// 0xFFFF without a ':'; otherwise one bit per number, modulo 32, so a list naming only sets of
// 16 and more keeps the cel (it is counted and loaded) while putting it in no set.
uint32_t CTavroDoc::ReadSetList() {
  SkipSpace(ParseCursor);
  if (*ParseCursor != ':') return 0xFFFF;
  ++ParseCursor;
  uint32_t mask = 0;
  for (;;) {
    SkipSpace(ParseCursor);
    const int32_t set = ParseNumber(ParseCursor);
    if (set < 0) return mask;
    mask |= 1u << (set % 32);
  }
}

// ";%T" or ";%t" with nothing between, then the level. A remark without a number stores -1;
// bounding levels outside 0..255 is the composer's business.
void CTavroDoc::ReadTransparencyRemark(CellEntry& cell) {
  SkipSpace(ParseCursor);
  const char* p = ParseCursor;
  if (p[0] != ';' || p[1] != '%' || (p[2] != 'T' && p[2] != 't')) return;
  ParseCursor = p + 3;
  cell.Transparency = SaturateInt16(ParseNumber(ParseCursor));
  Composed.SetTrueColourMode(true);
}

}  // namespace tavro
