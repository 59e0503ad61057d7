// The configuration text as a save writes it: lines copied, ten set lines regenerated from the
// stored positions.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "set/DollSet.h"

namespace tavro {

// Does object `number` have a position in `set` (x or y above 0)?
bool HasSetPosition(const DollSet& doll, int32_t number, int32_t set);
// The highest object number a set line lists: -1 without objects, else at least 0.
int32_t LastListedObject(const DollSet& doll, int32_t set);
// Appends set `set`'s line(s) to `out`; false (nothing written) for a set outside 0..9.
bool WriteSetLine(const DollSet& doll, int32_t set, std::string& out, int32_t lineWidth);
// The whole text; `settleSet` runs before each set line is written, so the caller can make the
// shown positions permanent first.
void WriteConfigText(const DollSet& doll, std::string& out,
                     const std::function<void(int32_t)>& settleSet);

}  // namespace tavro
