// File names between Shift_JIS and UTF-8.
//
// Sets were written on Japanese systems in Shift_JIS (as Windows extends it), and most unpackers
// here turn their member names into UTF-8, so a configuration may name "\x91\xCC.kcf" while the
// disk holds "体.kcf". The conversion keeps each byte of ASCII as it is, 0x5C and 0x7E included.
#pragma once

#include <optional>
#include <string>

namespace tavro {

// `name` read as Shift_JIS and written as UTF-8; nothing when it is no valid Shift_JIS.
std::optional<std::string> ShiftJisToUtf8(const std::string& name);
// `name` read as UTF-8 and written as Shift_JIS; nothing when it is no valid UTF-8 or holds a
// character Shift_JIS lacks.
std::optional<std::string> Utf8ToShiftJis(const std::string& name);

}  // namespace tavro
