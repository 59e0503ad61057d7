// ConfigReader: one pass over a configuration text.
//
// A reader is made for each load, save and inspection and dropped after it, so its cursors and
// the parser state of the file being read (the last line's first byte, the set line being read
// and where its continuation goes on) never outlive the pass or leak into another one.
#pragma once

#include <cstdint>
#include <vector>

#include "set/ConfigLoadTarget.h"
#include "set/LoadProblems.h"
#include "set/SetRecords.h"

namespace tavro {

class DollSet;

class ConfigReader {
 public:
  // Reads `length` bytes of `text` (which holds a zero byte after them, as the set keeps it).
  ConfigReader(const std::vector<char>& text, int32_t length);
  explicit ConfigReader(const DollSet& set);

  // The next line, carriage returns dropped, at most 255 bytes and zero-terminated; false when no
  // complete line is left.
  bool NextLine();
  const char* Line() const { return LineBuffer_; }
  // The text, where the current line starts in it and where the next one starts.
  const char* TextStart() const { return Text_; }
  const char* LineStart() const { return Start_; }
  const char* TextCursor() const { return Cursor_; }
  // Bytes of the text not yet read.
  int32_t Remaining() const { return Left_; }

  // Every line handed to its handler, into the target's set (the load's pass).
  void LoadLines(ConfigLoadTarget& target);

 private:
  void DispatchLine(ConfigLoadTarget& target);
  void ParseCelLine(ConfigLoadTarget& target);
  bool ReadCelFields(ConfigLoadTarget& target, CellEntry& cell, uint16_t& slot);
  uint32_t ReadSetList();
  void ReadTransparencyRemark(ConfigLoadTarget& target, CellEntry& cell);
  void BeginSetLine(ConfigLoadTarget& target);
  void ContinueSetLine(ConfigLoadTarget& target);
  int32_t ParseSetLine(ConfigLoadTarget& target, int32_t firstObject);
  void ParsePaletteLine(ConfigLoadTarget& target);
  void ParseSizeLine(ConfigLoadTarget& target);
  // The load's report (ConfigReport.cpp); only the load's pass reaches these.
  void CheckLineEnd();
  void NoteLineEnd(const char* carriageReturn);
  void NoteUnendedLine();
  void NoteNoLineKind();
  enum class CelLineFault { NoNumber, NoSlot, NoSet };
  void NoteCelLineIgnored(CelLineFault fault, uint32_t mask);
  void NoteSetLineStop(const char* at, bool readingY, int32_t object);

  const char* Text_ = nullptr;
  const char* Cursor_ = nullptr;
  const char* Start_ = nullptr;
  int32_t Left_ = 0;
  char LineBuffer_[256] = {};
  const char* ParseCursor_ = nullptr;
  char PreviousFirstByte_ = 0;  // '$' after a set line and after each of its continuations
  int32_t SetIndex_ = -1;       // ordinal of the last '$' line; stops counting past the tenth
  int32_t NextSetObject_ = 0;   // object number where a continuation line goes on
  LoadProblems* Problems_ = nullptr;
  int32_t SetLinesRead_ = 0;      // '$' lines met, past the tenth too
  bool PreviousLineCut_ = false;  // the last line was cut at 255 bytes
  bool TextHasCarriageReturn_ = false;
};

}  // namespace tavro
