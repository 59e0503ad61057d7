// Loading a set's cel and palette files into it: resolve the name in the set's folder, read the
// bytes through the file door, decode, and attach the result to the set.
#pragma once

#include <cstdint>
#include <vector>

#include "set/DollSet.h"
#include "set/LoadProblems.h"

namespace tavro {

// Loads cel files one after another, reading each into a buffer kept between cels so a set of
// many cels does not allocate (and fault in) a fresh one for each.
class CelFileLoader {
 public:
  // Decodes the cel file of `cell` into it and widens its object's extent in `set`; returns one
  // LoadErrors bit or 0. A cel that fails keeps no pixels and belongs to no set. `trueColourMark`
  // becomes true when the file carries the 32-bit mark, even if the cel then fails. Why a cel
  // failed goes to `problems`.
  int32_t Load(DollSet& set, CellEntry& cell, bool& trueColourMark, LoadProblems& problems);
  // Bytes the kept buffer holds now.
  size_t BufferSize() const { return ReadBuffer.size(); }

 private:
  std::vector<uint8_t> ReadBuffer;
};

// Reads palette file `name` into `set` as palette `number`; 0 read, 1 not found (the caller
// tells the user), 2 bad header. Why it failed goes to `problems`.
int32_t LoadPaletteFile(DollSet& set, const char* name, int32_t number, LoadProblems& problems);

}  // namespace tavro
