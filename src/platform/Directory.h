// Directories through the file door: the one walker, writing files flat into a directory, and
// the temporary directories archives are unpacked into.
//
// Everything works with absolute paths or with a directory held open; the process's current
// directory is never changed.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace tavro {

// One entry met by the walker. Its kind is asked of the file system only when wanted, so a walk
// that looks at names alone costs one listing.
class DirectoryEntry {
 public:
  DirectoryEntry(int directoryFd, const char* name) : directoryFd_(directoryFd), name_(name) {}
  std::string_view Name() const { return name_; }
  // A regular file itself, not a link to one.
  bool IsPlainFile() const;

 private:
  int directoryFd_;
  const char* name_;
};

// A directory held open by its descriptor, so that a name inside it always means a name in this
// very directory even if its path is swapped for a link meanwhile.
class OpenDirectory {
 public:
  OpenDirectory() = default;
  ~OpenDirectory();
  OpenDirectory(const OpenDirectory&) = delete;
  OpenDirectory& operator=(const OpenDirectory&) = delete;

  // `followLink` false: a directory that has been replaced by a link is not opened. False on
  // failure, with errno telling why.
  bool Open(const std::string& path, bool followLink);
  // The walker: calls `visit` for each entry but "." and "..", in the order the directory lists
  // them, until `visit` returns false. False when the directory could not be listed.
  bool ForEachEntry(const std::function<bool(const DirectoryEntry&)>& visit) const;
  // Creates or truncates the file `name` inside (mode 0644 before the umask), never through a
  // link; its descriptor, or -1 with errno set. The caller closes it with CloseFile.
  int CreateFile(const std::string& name) const;
  // Removes the file `name` inside; false when it could not be.
  bool RemoveFile(const std::string& name) const;

 private:
  int fd_ = -1;
};

// The walker over a path: `visit` sees each entry of `directory` (following a link to it) until
// it returns false. False when the directory cannot be listed.
bool ForEachEntry(const std::string& directory,
                  const std::function<bool(const DirectoryEntry&)>& visit);

// Closes a descriptor from OpenDirectory::CreateFile; false (errno set) when the data did not
// make it.
bool CloseFile(int fd);

// True when `path` exists (following links).
bool PathExists(const std::string& path);

// Where temporary directories go: the configured directory when it is an absolute path to a
// writable directory, else the system's temporary directory (`invalidated` tells the caller to
// say so when a configured directory could not be used).
std::string ChooseTempBase(const std::string& configured, bool& invalidated);

// Creates a new directory named from "taXXXXXX" under `base`, mode 0700; its absolute path, or ""
// on failure.
std::string MakeTempDirectory(const std::string& base);

// Deletes the plain files directly inside `directory` (never following a link, and nothing when
// the directory has been replaced by one), then the directory itself. False when the directory
// could not be opened or was not emptied.
bool RemoveExtractedFiles(const std::string& directory);

}  // namespace tavro
