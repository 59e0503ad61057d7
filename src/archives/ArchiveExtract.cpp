#include "archives/ArchiveExtract.h"

#include "platform/FileDoor.h"
#include "platform/NameBytes.h"

namespace tavro {
namespace {

// Local file header, or the end record of an empty archive.
bool StartsLikeZip(const std::string& path) {
  ReadOnlyFile file;
  if (!file.Open(path)) return false;
  unsigned char head[4] = {};
  return file.ReadAt(0, head, sizeof head) == 4 && head[0] == 'P' && head[1] == 'K' &&
         ((head[2] == 3 && head[3] == 4) || (head[2] == 5 && head[3] == 6));
}

}  // namespace

std::string FlatMemberName(const std::vector<std::string>& components, bool absolute) {
  if (absolute || components.empty()) return "";
  // A drive letter ("C:...") is as absolute as a leading separator.
  if (components.front().size() >= 2 && components.front()[1] == ':') return "";
  for (const std::string& component : components) {
    if (component == ".." || component.find('\0') != std::string::npos) return "";
  }
  const std::string& last = components.back();
  return last == "." ? "" : last;
}

std::string FlatMemberName(const std::string& memberPath) {
  const std::vector<std::string> components = SplitNameComponents(memberPath);
  // When a separator follows the last component the member is a directory, which names no file.
  if (components.empty() || !memberPath.ends_with(components.back())) return "";
  return FlatMemberName(components, StartsWithSeparator(memberPath));
}

ExtractResult ExtractArchiveFlat(const std::string& archivePath, const std::string& directory,
                                 const ExtractLimits& limits, OpenProgress& progress) {
  if (StartsLikeZip(archivePath)) return ExtractZipFlat(archivePath, directory, limits, progress);
  return ExtractLzhFlat(archivePath, directory, limits, progress);
}

}  // namespace tavro
