#include "platform/FileLookup.h"

#include <vector>

#include "platform/Directory.h"

namespace tavro {
namespace {

// The entry of `directory` whose name equals `component` ignoring case, if any. Directory order
// decides between several; an exact match was already tried by the caller.
std::optional<std::string> FindIgnoringCase(const std::string& directory,
                                            const std::string& component) {
  std::optional<std::string> found;
  ForEachEntry(directory, [&](const DirectoryEntry& entry) {
    if (!EqualsIgnoringCase(std::string(entry.Name()), component)) return true;
    found = std::string(entry.Name());
    return false;
  });
  return found;
}

std::string Joined(const std::string& base, const std::vector<std::string>& components) {
  std::string path = base;
  for (size_t i = 0; i < components.size(); ++i) {
    if (i > 0) path += '/';
    path += components[i];
  }
  return path;
}

}  // namespace

std::vector<std::string> SetFileNamesTried(const std::string& name) {
  size_t start = 0;
  while (start < name.size() && (name[start] == '/' || name[start] == '\\')) ++start;
  const std::string relative = name.substr(start);
  if (relative.empty()) return {};
  std::vector<std::string> names = {relative};
  const std::string separated = Joined("", SplitNameComponents(relative));
  if (!separated.empty() && separated != relative) names.push_back(separated);
  return names;
}

std::optional<std::string> ResolveSetFile(const std::string& directory, const std::string& name) {
  // A leading separator names the set's own folder: a set never reaches the root from here.
  size_t start = 0;
  while (start < name.size() && (name[start] == '/' || name[start] == '\\')) ++start;
  const std::string relative = name.substr(start);
  if (relative.empty()) return std::nullopt;
  std::string base = directory;
  if (!base.empty() && base.back() != '/') base += '/';

  const std::string exact = base + relative;
  if (PathExists(exact)) return exact;
  const std::vector<std::string> components = SplitNameComponents(relative);
  if (components.empty()) return std::nullopt;
  const std::string separated = Joined(base, components);
  if (PathExists(separated)) return separated;

  // Walk the components, matching each one ignoring case where the exact one is missing.
  std::string path = base;
  for (const std::string& component : components) {
    const std::string candidate = path + component;
    if (component == "." || component == ".." || PathExists(candidate)) {
      path = candidate + "/";
      continue;
    }
    const auto match = FindIgnoringCase(path.empty() ? "." : path, component);
    if (!match) return std::nullopt;
    path += *match + "/";
  }
  path.pop_back();  // the trailing '/' added after the last component
  if (!PathExists(path)) return std::nullopt;
  return path;
}

}  // namespace tavro
