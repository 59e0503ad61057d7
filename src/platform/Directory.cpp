#include "platform/Directory.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <system_error>
#include <vector>

namespace tavro {
namespace {

constexpr char kNameTemplate[] = "taXXXXXX";

bool IsUsableDirectory(const std::string& path) {
  struct stat info {};
  return !path.empty() && path[0] == '/' && ::stat(path.c_str(), &info) == 0 &&
         S_ISDIR(info.st_mode) && ::access(path.c_str(), W_OK | X_OK) == 0;
}

std::string SystemTempDirectory() {
  std::error_code error;
  const auto path = std::filesystem::temp_directory_path(error);
  // A relative TMPDIR in the environment would land in the current directory.
  return (error || !path.is_absolute()) ? std::string("/tmp") : path.string();
}

}  // namespace

bool DirectoryEntry::IsPlainFile() const {
  struct stat info {};
  return ::fstatat(directoryFd_, name_, &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(info.st_mode);
}

OpenDirectory::~OpenDirectory() {
  if (fd_ >= 0) ::close(fd_);
}

bool OpenDirectory::Open(const std::string& path, bool followLink) {
  const int flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC | (followLink ? 0 : O_NOFOLLOW);
  const int fd = ::open(path.c_str(), flags);
  if (fd < 0) return false;
  if (fd_ >= 0) ::close(fd_);
  fd_ = fd;
  return true;
}

bool OpenDirectory::ForEachEntry(const std::function<bool(const DirectoryEntry&)>& visit) const {
  if (fd_ < 0) return false;
  // The listing gets a descriptor of its own: closing it must leave ours open, and its reading
  // position starts at the beginning for every walk.
  const int listingFd = ::openat(fd_, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (listingFd < 0) return false;
  DIR* listing = ::fdopendir(listingFd);
  if (listing == nullptr) {
    ::close(listingFd);
    return false;
  }
  while (const dirent* item = ::readdir(listing)) {
    const std::string_view name = item->d_name;
    if (name == "." || name == "..") continue;
    if (!visit(DirectoryEntry(fd_, item->d_name))) break;
  }
  ::closedir(listing);
  return true;
}

int OpenDirectory::CreateFile(const std::string& name) const {
  // O_NOFOLLOW: a link left in the directory is never written through.
  return ::openat(fd_, name.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0644);
}

bool OpenDirectory::RemoveFile(const std::string& name) const {
  return ::unlinkat(fd_, name.c_str(), 0) == 0;
}

bool ForEachEntry(const std::string& directory,
                  const std::function<bool(const DirectoryEntry&)>& visit) {
  OpenDirectory opened;
  return opened.Open(directory.empty() ? "." : directory, true) && opened.ForEachEntry(visit);
}

bool CloseFile(int fd) { return ::close(fd) == 0; }

bool PathExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0;
}

std::string ChooseTempBase(const std::string& configured, bool& invalidated) {
  invalidated = false;
  if (configured.empty()) return SystemTempDirectory();
  // A relative setting would mean the current directory, and a drive letter means nothing here.
  if (IsUsableDirectory(configured)) return configured;
  invalidated = true;
  return SystemTempDirectory();
}

std::string MakeTempDirectory(const std::string& base) {
  std::string pattern = base;
  if (pattern.empty() || pattern.back() != '/') pattern += '/';
  pattern += kNameTemplate;
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  if (::mkdtemp(name.data()) == nullptr) return "";
  return name.data();
}

bool RemoveExtractedFiles(const std::string& directory) {
  // Not following a link: if the directory has been replaced by one, nothing is deleted anywhere.
  OpenDirectory opened;
  if (!opened.Open(directory, false)) return false;
  std::vector<std::string> files;
  // Only plain files go; links, sub-directories and anything else stay where they are.
  if (!opened.ForEachEntry([&](const DirectoryEntry& entry) {
        if (entry.IsPlainFile()) files.emplace_back(entry.Name());
        return true;
      })) {
    return false;
  }
  for (const auto& file : files) opened.RemoveFile(file);
  return ::rmdir(directory.c_str()) == 0;
}

}  // namespace tavro
