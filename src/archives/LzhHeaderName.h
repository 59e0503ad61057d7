// The name of an LZH member as its header stores it, byte for byte.
//
// Level 0 and 1 headers hold the whole path in one field, folders separated by a backslash or
// 0xFF; level 1 to 3 headers may carry the file and folder names in extended headers instead.
// The library that decodes the archive cuts level 0 and 1 names at every 0x5C, also where it is
// the second byte of a Shift_JIS character, so the name is read here from the raw header.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tavro {

struct LzhStoredName {
  std::vector<std::string> Components;  // folders, then the file name
  bool Absolute = false;                // the stored path started with a separator
};

// Nothing when the header is too short or its extended headers run past its end.
std::optional<LzhStoredName> ReadLzhStoredName(const uint8_t* header, size_t length);

}  // namespace tavro
