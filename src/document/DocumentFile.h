// The document framework's open step, shared by the window and tavro-render.
//
// It opens the file, empties the document (DeleteContents) and reads the file through a loading
// archive (Serialize). It does not put the set's defaults in place: the document's open
// operation runs ResetSet before it, as a caller that bypasses that operation must do too.
#pragma once

#include <cstdint>
#include <string>

#include "document/CTavroDoc.h"

namespace tavro {

// Larger files cannot be configuration files (the largest useful one is well under a megabyte);
// refusing them keeps a stray multi-gigabyte file from being read into memory whole.
inline constexpr int64_t kMaxConfigFileBytes = 64 * 1024 * 1024;

// Reads `path` into `doc`. False, with a message for the user in `error` and the document
// untouched, when the file cannot be read; true otherwise, also when the file gave no set
// (SetLoaded tells that apart). Sets SetDirectory, SetBaseName and SetExtension from the path,
// since the set's cel and palette names are resolved next to the file being read.
bool OpenDocumentFile(CTavroDoc& doc, const std::string& path, std::string& error);

// SetDirectory (absolute, with a trailing '/'), SetBaseName and SetExtension (with its dot) of
// `path`, without length limits.
void SetPathFields(CTavroDoc& doc, const std::string& path);

}  // namespace tavro
