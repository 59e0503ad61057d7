#include "platform/FileLookup.h"

#include <vector>

#include "platform/Directory.h"
#include "platform/NameEncoding.h"

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

// `name` split into folders as its own encoding reads it, each converted by `convert`, joined
// by '/': a Shift_JIS backslash byte inside a character must not be read as a separator after
// conversion, nor a separator lost in it. Nothing when a part does not convert.
template <typename Convert>
std::optional<std::string> ConvertedByComponent(const std::string& name, Convert convert) {
  std::vector<std::string> components;
  for (const std::string& component : SplitNameComponents(name)) {
    auto converted = convert(component);
    if (!converted) return std::nullopt;
    components.push_back(std::move(*converted));
  }
  if (components.empty()) return std::nullopt;
  return Joined("", components);
}

bool HasNonAscii(const std::string& name) {
  for (const char c : name) {
    if (static_cast<unsigned char>(c) >= 0x80) return true;
  }
  return false;
}

}  // namespace

std::vector<std::string> ConvertedSetFileNames(const std::string& name) {
  std::vector<std::string> names;
  if (!HasNonAscii(name)) return names;
  // A name that reads as UTF-8 came from a UTF-8 configuration most likely; a Shift_JIS name
  // is seldom valid UTF-8 by chance, but may be, so both ways are tried.
  if (IsValidUtf8(name)) {
    if (auto back = ConvertedByComponent(name, Utf8ToShiftJis)) names.push_back(*back);
  }
  if (auto forth = ConvertedByComponent(name, ShiftJisToUtf8)) names.push_back(*forth);
  return names;
}

std::optional<SetFileMatch> FindSetFile(const std::string& directory, const std::string& name) {
  if (auto path = ResolveSetFile(directory, name)) return SetFileMatch{*path, ""};
  for (const std::string& converted : ConvertedSetFileNames(name)) {
    if (auto path = ResolveSetFile(directory, converted)) return SetFileMatch{*path, converted};
  }
  return std::nullopt;
}

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
