// Making and removing the temporary directories archives are extracted into.
#pragma once

#include <string>

namespace tavro {

// Where temporary directories go: the configured directory when it is an absolute path to a
// writable directory, else the system's temporary directory (`invalidated` tells the caller to
// say so when a configured directory could not be used).
std::string ChooseTempBase(const std::string& configured, bool& invalidated);

// Creates a new directory named from "taXXXXXX" under `base`; its absolute path, or "" on failure.
std::string MakeTempDirectory(const std::string& base);

// Deletes the plain files directly inside `directory` (never following a link), then the
// directory itself. False when the directory could not be opened or was not emptied.
bool RemoveExtractedFiles(const std::string& directory);

}  // namespace tavro
