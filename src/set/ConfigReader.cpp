// The configuration's lines and their handlers.
//
// Cel lines: '#' object number, optional '.' fix value, the file name, optional '*' palette
// number, optional ':' set list, optional ";%T" transparency remark. The cel is loaded the moment
// its line has been read, so it sees the playfield size and palette bases known at that point.
//
// Set lines: '$' colour group, then per object number either '*' or x, one separator byte, y.
// A line that starts with a space right after a set line (or one of its continuations) goes on
// from the object number where the previous line stopped. Only ten sets exist: an eleventh '$'
// line and its continuations are read and dropped.
#include "set/ConfigReader.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>

#include "set/ConfigTokens.h"
#include "set/DollSet.h"
#include "set/Saturate.h"

namespace tavro {

ConfigReader::ConfigReader(const std::vector<char>& text, int32_t length)
    : Text_(text.data()),
      Cursor_(text.data()),
      Start_(text.data()),
      Left_(std::min<int32_t>(length, static_cast<int32_t>(text.size()))) {}

ConfigReader::ConfigReader(const DollSet& set)
    : ConfigReader(set.ConfigText(), set.ConfigTextLength()) {}

bool ConfigReader::NextLine() {
  if (Cursor_ == nullptr) return false;
  Start_ = Cursor_;
  return ReadConfigLine(Cursor_, LineBuffer_, sizeof LineBuffer_, Left_);
}

void ConfigReader::LoadLines(ConfigLoadTarget& target) {
  // Script lines of the previous file must not lend this one their event.
  target.BeginScripts(Text_, Cursor_);
  Problems_ = &target.Problems();
  Problems_->BeginText(Text_, Left_);
  // Most files end their lines with a line feed alone; only a file holding carriage returns
  // needs each line looked through for one standing alone.
  TextHasCarriageReturn_ =
      Text_ != nullptr &&
      std::memchr(Text_, '\r', static_cast<size_t>(std::max(Left_, 0))) != nullptr;
  while (NextLine()) {
    Problems_->AtLine(Start_, LineBuffer_);
    if (Cursor_[-1] != '\n' || PreviousLineCut_ || TextHasCarriageReturn_) CheckLineEnd();
    DispatchLine(target);
  }
  target.EndOfLines();
  NoteUnendedLine();
  // A script may name an object whose cel lines come further down.
  const DollSet& set = target.SetBeingLoaded();
  Problems_->Finish([&set](int32_t number) { return set.SlotOf(number) != 0; });
  Problems_ = nullptr;
}

void ConfigReader::DispatchLine(ConfigLoadTarget& target) {
  const char* line = LineBuffer_;
  const bool continuation = line[0] == ' ' && PreviousFirstByte_ == '$';
  // A continuation counts as part of its set line, so the next space line continues it too.
  PreviousFirstByte_ = continuation ? '$' : line[0];
  if (continuation) {
    ContinueSetLine(target);
    return;
  }
  switch (line[0]) {
    case '#':
      ParseCelLine(target);
      break;
    case '$':
      BeginSetLine(target);
      break;
    case '%':
      ParsePaletteLine(target);
      break;
    case '(':
      ParseSizeLine(target);
      break;
    case ';':
      if (line[1] == '@') {
        const char* cursor = line + 2;
        target.ParseScriptLine(cursor, Text_, Cursor_);
      }
      break;
    default:  // comments, blank lines, lines that start with a tab
      NoteNoLineKind();
      break;
  }
}

void ConfigReader::ParseCelLine(ConfigLoadTarget& target) {
  DollSet& set = target.SetBeingLoaded();
  if (set.CellCount() >= kMaxCells) {
    target.AddLoadErrors(kErrTooManyCells);
    Problems_->Add(ProblemKind::TooManyCels,
                   "only " + std::to_string(kMaxCells) + " cels are read; this one is ignored");
    return;
  }
  // No table: nothing to fill.
  if (static_cast<size_t>(set.CellCount()) >= set.CellTable().size()) return;
  CellEntry cell;
  uint16_t slot = 0;
  if (!ReadCelFields(target, cell, slot)) return;
  set.MarkSetsInUse(cell.SetMask);
  const int32_t error = target.LoadCel(cell);
  set.AddCell(std::move(cell));
  target.AddLoadErrors(error);
}

// Fills `cell` from the line; false when the line gives no cel (its object still counts, and
// keeps its fix value, when the number was read).
bool ConfigReader::ReadCelFields(ConfigLoadTarget& target, CellEntry& cell, uint16_t& slot) {
  DollSet& set = target.SetBeingLoaded();
  ParseCursor_ = LineBuffer_ + 1;
  const int32_t number = ParseNumber(ParseCursor_);
  if (number < 0) {
    NoteCelLineIgnored(CelLineFault::NoNumber, 0);
    return false;
  }
  SkipSpace(ParseCursor_);
  int32_t fix = 0;
  if (*ParseCursor_ == '.') {
    ++ParseCursor_;
    fix = std::max(ParseNumber(ParseCursor_), 0);
  }
  SkipSpace(ParseCursor_);
  ParseCursor_ = CopyToken(cell.FileName, ParseCursor_);
  // The object counts even when its cel does not (a ':' with no set after it) and even when its
  // number is far too large to load.
  slot = set.EnsureSlot(number);
  if (slot == 0) {  // every slot handed out: no cel can belong to it
    NoteCelLineIgnored(CelLineFault::NoSlot, 0);
    return false;
  }
  cell.ObjectNumber = SaturateInt16(number);
  set.AddFix(slot, fix);
  SkipSpace(ParseCursor_);
  if (*ParseCursor_ == '*') {
    ++ParseCursor_;
    cell.PaletteNumber = static_cast<uint8_t>(std::max(ParseNumber(ParseCursor_), 0) & 0xFF);
  }
  const uint32_t mask = ReadSetList();
  // Sets 0..9 are the only ones shown: a cel in none of them is dead weight.
  if ((mask & 0x3FF) == 0) NoteCelLineIgnored(CelLineFault::NoSet, mask);
  if (mask == 0) return false;  // a ':' naming no set: the object counts, the cel does not
  cell.SetMask = static_cast<uint16_t>(mask & 0xFFFF);
  ReadTransparencyRemark(target, cell);
  return true;
}

// 0xFFFF without a ':'; otherwise one bit per number, modulo 32, so a list naming only sets of
// 16 and more keeps the cel (it is counted and loaded) while putting it in no set.
uint32_t ConfigReader::ReadSetList() {
  SkipSpace(ParseCursor_);
  if (*ParseCursor_ != ':') return 0xFFFF;
  ++ParseCursor_;
  uint32_t mask = 0;
  for (;;) {
    SkipSpace(ParseCursor_);
    const int32_t set = ParseNumber(ParseCursor_);
    if (set < 0) return mask;
    mask |= 1u << (set % 32);
  }
}

// ";%T" or ";%t" with nothing between, then the level. A remark without a number stores -1;
// bounding levels outside 0..255 is the composer's business.
void ConfigReader::ReadTransparencyRemark(ConfigLoadTarget& target, CellEntry& cell) {
  SkipSpace(ParseCursor_);
  const char* p = ParseCursor_;
  if (p[0] != ';' || p[1] != '%' || (p[2] != 'T' && p[2] != 't')) return;
  ParseCursor_ = p + 3;
  cell.Transparency = SaturateInt16(ParseNumber(ParseCursor_));
  target.AskForTrueColour();
}

void ConfigReader::BeginSetLine(ConfigLoadTarget& target) {
  if (SetIndex_ < kSetCount) ++SetIndex_;  // stops at 10, so endless '$' lines cannot overflow it
  if (SetLinesRead_ < INT32_MAX) ++SetLinesRead_;
  if (SetIndex_ >= kSetCount) {
    Problems_->Add(ProblemKind::SetLineIgnored,
                   "set line " + std::to_string(SetLinesRead_) +
                       " is ignored with its continuations: only sets 0 to 9 exist");
    return;
  }
  ParseCursor_ = LineBuffer_ + 1;
  const int32_t group = ParseNumber(ParseCursor_);
  // Taken as written, without a range test: a group of 12 is stored as 12.
  if (group >= 0) target.SetBeingLoaded().ChangeGroupOfSet(SetIndex_, group);
  NextSetObject_ = ParseSetLine(target, 0);
}

void ConfigReader::ContinueSetLine(ConfigLoadTarget& target) {
  if (SetIndex_ < 0 || SetIndex_ >= kSetCount) return;
  ParseCursor_ = LineBuffer_;
  NextSetObject_ = ParseSetLine(target, NextSetObject_);
}

// Reads set entries from object `firstObject` on and returns the object number at which it
// stopped. Positions for object numbers that have no slot are read and dropped.
int32_t ConfigReader::ParseSetLine(ConfigLoadTarget& target, int32_t firstObject) {
  DollSet& set = target.SetBeingLoaded();
  int32_t object = firstObject;
  // Every pass consumes at least one byte or stops, so a huge ObjectCount costs nothing.
  while (object < set.ObjectCount()) {
    SkipSpace(ParseCursor_);
    if (*ParseCursor_ == '\0') break;
    if (*ParseCursor_ == '*') {
      ++ParseCursor_;
      ++object;
      continue;
    }
    const char* entry = ParseCursor_;
    const int32_t x = ParseNumber(ParseCursor_);
    if (x < 0) {
      NoteSetLineStop(entry, false, object);
      break;
    }
    // The separator may be any byte, but never the end of the line: a line cut after x must not
    // be read past its terminating zero.
    if (*ParseCursor_ != '\0') ++ParseCursor_;
    const char* yStart = ParseCursor_;
    const int32_t y = ParseNumber(ParseCursor_);
    if (y < 0) {
      NoteSetLineStop(yStart, true, object);
      break;
    }
    set.StoreSetPosition(set.SlotOf(object), SetIndex_, x, y);
    ++object;
  }
  return object;
}

// The name starts right after '%': "% name" names the empty file, which is then not found. The
// palette number is used up whether or not the file loads.
void ConfigReader::ParsePaletteLine(ConfigLoadTarget& target) {
  char name[kPaletteNameField] = {};
  CopyToken(name, LineBuffer_ + 1);
  const int32_t number = target.SetBeingLoaded().AddPaletteLine(name);
  if (number >= 0) {
    target.LoadPalette(name, number);
  } else {
    Problems_->Add(ProblemKind::PaletteLineIgnored,
                   "only " + std::to_string(kMaxPaletteLines) +
                       " palette files are read; this one is ignored");
  }
}

// "(width,height", any one byte between, the ')' optional. A later size line replaces an
// earlier one. A width or height that is missing, zero or negative would leave a playfield of no
// pixels (and a map of no rows) behind; such a value keeps the size in force instead.
void ConfigReader::ParseSizeLine(ConfigLoadTarget& target) {
  ParseCursor_ = LineBuffer_ + 1;
  const int32_t width = ParseNumber(ParseCursor_);
  if (*ParseCursor_ != '\0') ++ParseCursor_;
  const int32_t height = ParseNumber(ParseCursor_);
  target.SetBeingLoaded().SetPlayfieldSize(width, height);
}

}  // namespace tavro
