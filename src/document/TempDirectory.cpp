// The temporary directory an archive is extracted into, and its removal.
//
// Everything works with absolute paths; the process's current directory is never changed.
#include "document/TempDirectory.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <system_error>
#include <vector>

#include "document/CTavroDoc.h"

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
  // O_NOFOLLOW: if the directory has been replaced by a link, nothing is deleted anywhere.
  const int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return false;
  DIR* listing = ::fdopendir(fd);
  if (listing == nullptr) {
    ::close(fd);
    return false;
  }
  std::vector<std::string> files;
  while (const dirent* item = ::readdir(listing)) {
    struct stat info {};
    if (::fstatat(fd, item->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(info.st_mode)) {
      files.emplace_back(item->d_name);
    }
  }
  // Only plain files go; links, sub-directories and anything else stay where they are.
  for (const auto& file : files) ::unlinkat(fd, file.c_str(), 0);
  ::closedir(listing);
  return ::rmdir(directory.c_str()) == 0;
}

void CTavroDoc::RemoveTempDirectory() {
  if (!ExtractedFromArchive) return;
  host().BeginWaitCursor();
  if (!TempDirectory.empty()) RemoveExtractedFiles(TempDirectory);
  ExtractedFromArchive = false;
  host().EndWaitCursor();
}

}  // namespace tavro
