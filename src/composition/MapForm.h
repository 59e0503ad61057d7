// The form of the composed map as AllocateMap made it, for everyone who reads its pixels.
#pragma once

#include <cstdint>

#include "document/CTavroDoc.h"

namespace tavro {

// 3 for a 24-bit map, else 1.
int32_t MapBytesPerPixel(const CTavroDoc& doc);

// True when the map holds every row and column of the playfield in the form its header names.
// A map that does not is never read: it may be left from another mode or another playfield.
bool HasCompleteMap(const CTavroDoc& doc);

}  // namespace tavro
