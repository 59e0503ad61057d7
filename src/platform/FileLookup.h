// Finding the files a set names on a file system that minds letter case.
//
// Sets were made on systems that ignore case and use backslashes: a line may name
// "CLOTHES\SHIRT.CEL" while the disk holds "clothes/shirt.cel", and Japanese names carry 0x5C as
// the second byte of a character. A name is tried as its exact bytes first, then with its
// backslashes read as folder separators, then component by component ignoring ASCII letter case.
// Only when all of that finds nothing is the name tried again, the same way, converted between
// Shift_JIS and UTF-8: unpackers here often write a set's Shift_JIS names in UTF-8.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/NameBytes.h"

namespace tavro {

// Resolves `name` against `directory` (which may or may not end in '/'). A name starting with
// "\" or "/" is taken from `directory` too, never from the root of the file system. Returns the
// path of an existing entry, or nothing.
std::optional<std::string> ResolveSetFile(const std::string& directory, const std::string& name);

// A file a set names, as FindSetFile found it.
struct SetFileMatch {
  std::string Path;
  // The name converted from Shift_JIS to UTF-8, or back, that found the file; "" when the name
  // as written found it.
  std::string ConvertedName;
};

// ResolveSetFile with `name` as written, then with `name` converted into the other encoding
// (from Shift_JIS into UTF-8 and, for a name that is valid UTF-8, also back).
std::optional<SetFileMatch> FindSetFile(const std::string& directory, const std::string& name);

// `name` with each folder and file name converted from Shift_JIS into UTF-8 or the other way, in
// the order FindSetFile tries them; the folders joined by '/'. Names of ASCII alone have none.
std::vector<std::string> ConvertedSetFileNames(const std::string& name);

// The names ResolveSetFile tries for `name` before it ignores letter case, relative to the set's
// folder: the bytes as written (without leading separators), then, when it differs, the name with
// its backslashes read as separators. Empty when the name is empty.
std::vector<std::string> SetFileNamesTried(const std::string& name);

}  // namespace tavro
