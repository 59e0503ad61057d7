#include "document/ArchiveSession.h"

#include "platform/Directory.h"
#include "platform/NameBytes.h"

namespace tavro {

ArchiveSession::~ArchiveSession() { RemoveDirectory(); }

void ArchiveSession::BeginOpen(const std::string& path) {
  ArchivePath = path;
  ArchiveDocumentPath.clear();
  ArchiveDocumentTitle.clear();
}

bool ArchiveSession::MakeDirectory(const std::string& base) {
  const std::string made = MakeTempDirectory(base);
  if (made.empty()) return false;
  TempDirectory = made;
  return true;
}

bool ArchiveSession::RemoveDirectory() {
  if (!ExtractedFromArchive) return false;
  if (!TempDirectory.empty()) RemoveExtractedFiles(TempDirectory);
  ExtractedFromArchive = false;
  return true;
}

bool ArchiveSession::SetDocument(const std::string& path) {
  ArchiveDocumentPath = path;
  ArchiveDocumentTitle = UpperCaseAscii(SplitPath(path).name);
  return !(InUse() && path.starts_with(TempDirectory + "/"));
}

bool ArchiveSession::OpenedFrom(const std::string& path) const {
  return ExtractedFromArchive && ArchiveDocumentPath == path && !ArchiveDocumentTitle.empty();
}

}  // namespace tavro
