#include "gui/shell/CoreAdapters.h"

namespace tavro::adapters {

bool OpenDocument(CTavroDoc& doc, const std::string& absolutePath, std::string& failure) {
  failure.clear();
  return doc.OnOpenDocument(absolutePath);
}

bool NewDocument(CTavroDoc& doc) { return doc.OnNewDocument(); }

bool OpenedFromArchive(const CTavroDoc& doc, const std::string& absolutePath) {
  return doc.ExtractedFromArchive && doc.ArchiveDocumentPath == absolutePath &&
         !doc.ArchiveDocumentTitle.empty();
}

}  // namespace tavro::adapters
