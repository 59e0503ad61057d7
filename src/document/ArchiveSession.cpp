#include "document/ArchiveSession.h"

#include <unordered_set>
#include <utility>

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
  ExtractedNames.clear();
  return true;
}

void ArchiveSession::NoteExtracted(const std::vector<std::string>& names) {
  std::vector<std::string> order;
  std::unordered_set<std::string> seen;
  for (const std::vector<std::string>* list : {&names, &std::as_const(ExtractedNames)}) {
    for (const std::string& name : *list) {
      if (seen.insert(name).second) order.push_back(name);
    }
  }
  ExtractedNames = std::move(order);
}

bool ArchiveSession::RemoveDirectory() {
  if (!ExtractedFromArchive) return false;
  if (!TempDirectory.empty()) RemoveExtractedFiles(TempDirectory);
  ExtractedFromArchive = false;
  ExtractedNames.clear();
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
