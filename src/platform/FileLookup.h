// Finding the files a set names on a file system that minds letter case.
//
// Sets were made on systems that ignore case and use backslashes: a line may name
// "CLOTHES\SHIRT.CEL" while the disk holds "clothes/shirt.cel". Each name is tried exactly first,
// then component by component ignoring ASCII letter case.
#pragma once

#include <optional>
#include <string>

namespace tavro {

// Turns backslashes into slashes.
std::string NormaliseSeparators(const std::string& name);

// Resolves `name` (relative, or absolute when it starts with '/') against `directory` (which may
// or may not end in '/'). Returns the path of an existing entry, or nothing.
std::optional<std::string> ResolveSetFile(const std::string& directory, const std::string& name);

// Compares two byte strings ignoring ASCII letter case.
bool EqualsIgnoringCase(const std::string& a, const std::string& b);

}  // namespace tavro
