#include "platform/FileLookup.h"

#include <dirent.h>
#include <sys/stat.h>

#include <vector>

namespace tavro {
namespace {

bool Exists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0;
}

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// The entry of `directory` whose name equals `component` ignoring case, if any. Directory order
// decides between several; an exact match was already tried by the caller.
std::optional<std::string> FindIgnoringCase(const std::string& directory,
                                            const std::string& component) {
  DIR* dir = ::opendir(directory.empty() ? "." : directory.c_str());
  if (dir == nullptr) return std::nullopt;
  std::optional<std::string> found;
  while (const dirent* entry = ::readdir(dir)) {
    if (EqualsIgnoringCase(entry->d_name, component)) {
      found = entry->d_name;
      break;
    }
  }
  ::closedir(dir);
  return found;
}

std::vector<std::string> SplitComponents(const std::string& path) {
  std::vector<std::string> parts;
  std::string current;
  for (char c : path) {
    if (c == '/') {
      if (!current.empty()) parts.push_back(current);
      current.clear();
    } else {
      current += c;
    }
  }
  if (!current.empty()) parts.push_back(current);
  return parts;
}

}  // namespace

std::string NormaliseSeparators(const std::string& name) {
  std::string out = name;
  for (char& c : out) {
    if (c == '\\') c = '/';
  }
  return out;
}

bool EqualsIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}

std::optional<std::string> ResolveSetFile(const std::string& directory, const std::string& name) {
  const std::string relative = NormaliseSeparators(name);
  if (relative.empty()) return std::nullopt;
  std::string base;
  if (relative.front() == '/') {
    base = "/";
  } else {
    base = directory;
    if (!base.empty() && base.back() != '/') base += '/';
  }
  const std::string exact = base + relative;
  if (Exists(exact)) return exact;

  // Walk the components, matching each one ignoring case where the exact one is missing.
  std::string path = base;
  for (const std::string& component : SplitComponents(relative)) {
    std::string candidate = path + component;
    if (component == "." || component == ".." || Exists(candidate)) {
      path = candidate + "/";
      continue;
    }
    const auto match = FindIgnoringCase(path.empty() ? "." : path, component);
    if (!match) return std::nullopt;
    path += *match + "/";
  }
  path.pop_back();  // the trailing '/' added after the last component
  if (!Exists(path)) return std::nullopt;
  return path;
}

}  // namespace tavro
