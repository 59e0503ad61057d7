// What the configuration reader needs of whatever it loads a set into, and nothing more.
//
// The reader fills the set's tables itself; the work that belongs to other parts (decoding cel
// and palette files, compiling script lines, choosing the map's colour mode) goes through here,
// so the reader knows none of those parts.
#pragma once

#include <cstdint>

#include "set/LoadProblems.h"
#include "set/SetRecords.h"

namespace tavro {

class DollSet;

class ConfigLoadTarget {
 public:
  virtual ~ConfigLoadTarget() = default;

  virtual DollSet& SetBeingLoaded() = 0;
  virtual LoadProblems& Problems() = 0;
  // LoadErrors bits for the messages shown after the last line.
  virtual void AddLoadErrors(int32_t bits) = 0;
  // Decodes the cel file of a line just read, before the cel joins the table; returns its
  // LoadErrors bit, 0 when it loaded or is still loading (see EndOfLines).
  virtual int32_t LoadCel(CellEntry& cell) = 0;
  // The last line is read: every cel still loading is finished and its outcome recorded before
  // the load's problems are.
  virtual void EndOfLines() {}
  // Loads palette file `name` as palette line `number`; a missing file is told at once.
  virtual void LoadPalette(const char* name, int32_t number) = 0;
  // A ";%T" remark asks for the true-colour form of the map.
  virtual void AskForTrueColour() = 0;
  // A new configuration text starts at `text`: script lines of another file must not lend it
  // their event.
  virtual void BeginScripts(const char* text, const char* position) = 0;
  // The body of one ";@" line at `cursor`; `position` is where the reader stands after the line.
  virtual void ParseScriptLine(const char*& cursor, const char* text, const char* position) = 0;
};

}  // namespace tavro
