// The settings file read the way INI files are: section and key names match ignoring case,
// values are taken as written (blanks around them aside), and lines the program does not know
// are kept as they are when it writes the file back.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tavro {

class IniFile {
 public:
  explicit IniFile(std::string path) : FilePath_(std::move(path)) {}

  // Reads the file; a missing or unreadable file reads as empty.
  void Load();
  // Writes the file through the shared safe replace (ReplaceFile), making its folder if need be;
  // a link to the file is written through. False when it could not be written.
  bool Save() const;

  std::optional<std::string> Value(const std::string& section, const std::string& key) const;
  // Replaces the value where the key is, else adds it at the end of its section (made at the
  // end of the file when missing).
  void SetValue(const std::string& section, const std::string& key, const std::string& value);
  void Remove(const std::string& section, const std::string& key);

  const std::string& Path() const { return FilePath_; }

 private:
  // Line index of the key, or of the section's header when `key` is empty; -1 when missing.
  int Find(const std::string& section, const std::string& key) const;

  std::string FilePath_;
  std::vector<std::string> Lines_;
};

// A recent-file entry as stored: any byte string, written as it is when it reads back the same,
// otherwise percent-escaped (such an entry never starts with '/', as a stored path does).
std::string EncodeStoredPath(const std::string& path);
std::string DecodeStoredPath(const std::string& stored);

}  // namespace tavro
