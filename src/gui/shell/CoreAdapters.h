// The document operations the framework layer calls when it opens or empties the document.
// Kept in one place so the window and its tests go through the same steps.
#pragma once

#include <string>

#include "document/CTavroDoc.h"

namespace tavro::adapters {

// The framework's open step for an absolute path, archives included. The document reports its
// own failures; `failure` is left for anything it could not say itself.
bool OpenDocument(CTavroDoc& doc, const std::string& absolutePath, std::string& failure);

// The framework's new-document step: an empty document with the defaults in place.
bool NewDocument(CTavroDoc& doc);

// After a successful open: the archive's path and title when the set came out of one, else
// empty.
bool OpenedFromArchive(const CTavroDoc& doc, const std::string& absolutePath);

}  // namespace tavro::adapters
