// The open set handed out whole: the folder its names are resolved from (the folder it was
// written to, or the one its archive was unpacked into) as a ZIP archive, with the files as
// they stand there, a saved configuration as it was saved.
#pragma once

#include <string>

#include "archives/ZipExport.h"
#include "document/CTavroDoc.h"

namespace tavro {

// Writes the set's folder to `output` (ExportFolderZip); fails with a message when no set is
// open.
ZipExportResult ExportOpenSet(const CTavroDoc& doc, const std::string& output);

}  // namespace tavro
