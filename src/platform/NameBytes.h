// File names as the bytes a set or an archive stores them in.
//
// Sets come from Japanese systems: their names are Shift_JIS, where the second byte of a
// character may be 0x5C (the backslash) or an ASCII letter. Such a byte belongs to the character,
// so it never separates folders and never changes case. A name that is valid UTF-8 is read as
// UTF-8, whose characters hold no ASCII bytes at all.
#pragma once

#include <string>
#include <vector>

namespace tavro {

bool IsShiftJisLeadByte(unsigned char byte);
bool IsValidUtf8(const std::string& bytes);

// Splits `name` at '/' and at backslashes that are not the second byte of a Shift_JIS character,
// and at 0xFF when `ffSeparates` (the folder separator of LZH headers). Empty components (from
// doubled or leading separators) are dropped.
std::vector<std::string> SplitNameComponents(const std::string& name, bool ffSeparates = false);

// True when `name` starts with a separator SplitNameComponents would cut at.
bool StartsWithSeparator(const std::string& name, bool ffSeparates = false);

// Compares two byte strings ignoring the case of ASCII letters, but not of a Shift_JIS
// character's second byte.
bool EqualsIgnoringCase(const std::string& a, const std::string& b);

// ASCII letters in upper case; the second bytes of Shift_JIS characters stay as they are.
std::string UpperCaseAscii(const std::string& name);

// A path split into its folder, name and extension. Only '/' separates folders in a path (unlike
// a name a set stores); the extension starts at the last dot of the name, so ".lzh" alone is an
// extension without a base name.
struct PathParts {
  std::string Folder;     // up to and including the last '/'; "" when there is none
  std::string Name;       // what follows it
  std::string Base;       // the name up to its last dot
  std::string Extension;  // from the last dot on, the dot included; "" when there is none
};
PathParts SplitPath(const std::string& path);

}  // namespace tavro
