#include "document/ArchiveSession.h"

#include <unordered_set>
#include <utility>

#include "platform/Directory.h"
#include "platform/NameBytes.h"

namespace tavro {

ArchiveSession::~ArchiveSession() { RemoveDirectory(); }

void ArchiveSession::BeginOpen(const std::string& path) {
  ArchivePath_ = path;
  RepeatAllowed_ = true;
  ArchiveDocumentPath_.clear();
  ArchiveDocumentTitle_.clear();
}

bool ArchiveSession::MakeDirectory(const std::string& base) {
  const std::string made = MakeTempDirectory(base);
  if (made.empty()) return false;
  TempDirectory_ = made;
  ExtractedNames_.clear();
  return true;
}

void ArchiveSession::NoteExtracted(const std::vector<std::string>& names) {
  std::vector<std::string> order;
  std::unordered_set<std::string> seen;
  for (const std::vector<std::string>* list : {&names, &std::as_const(ExtractedNames_)}) {
    for (const std::string& name : *list) {
      if (seen.insert(name).second) order.push_back(name);
    }
  }
  ExtractedNames_ = std::move(order);
}

bool ArchiveSession::RemoveDirectory() {
  if (!ExtractedFromArchive_) return false;
  if (!TempDirectory_.empty()) RemoveExtractedFiles(TempDirectory_);
  ExtractedFromArchive_ = false;
  ExtractedNames_.clear();
  return true;
}

bool ArchiveSession::SetDocument(const std::string& path) {
  ArchiveDocumentPath_ = path;
  ArchiveDocumentTitle_ = UpperCaseAscii(SplitPath(path).Name);
  return !(InUse() && path.starts_with(TempDirectory_ + "/"));
}

bool ArchiveSession::OpenedFrom(const std::string& path) const {
  return ExtractedFromArchive_ && ArchiveDocumentPath_ == path && !ArchiveDocumentTitle_.empty();
}

}  // namespace tavro
