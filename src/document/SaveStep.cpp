// File Save and Save As: the question, and a write that never leaves half a file behind.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <system_error>
#include <vector>

#include "document/CArchive.h"
#include "document/CTavroDoc.h"
#include "platform/FileWrite.h"

namespace tavro {
namespace {

constexpr char kOverwriteQuestion[] = "上書きしますか？";

// The file a save really replaces: a link is followed, so the link stays a link.
std::string SaveTarget(const std::string& path) {
  std::error_code error;
  const auto resolved = std::filesystem::weakly_canonical(path, error);
  return error ? path : resolved.string();
}

std::string Failure(const std::string& what, const std::string& path, int code) {
  return what + " " + path + ": " + std::strerror(code);
}

// A file without any write permission is read-only, also for a user (root) whom the system
// would let write it anyway: replacing it by a rename would pass over that protection.
bool IsReadOnly(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return false;
  return (info.st_mode & 0222) == 0 || ::access(path.c_str(), W_OK) != 0;
}

// Writes `text` into a new file beside `target` and renames it over the target.
bool ReplaceFile(const std::string& target, const std::string& text, std::string& error) {
  if (IsReadOnly(target)) {
    error = Failure("cannot write", target, EACCES);
    return false;
  }
  std::vector<char> name(target.begin(), target.end());
  const std::string suffix = ".saveXXXXXX";
  name.insert(name.end(), suffix.begin(), suffix.end());
  name.push_back('\0');
  const int fd = ::mkstemp(name.data());
  if (fd < 0) {
    error = Failure("cannot create a file beside", target, errno);
    return false;
  }
  // A file that already exists keeps its permissions; a new one gets the usual ones.
  struct stat old {};
  const mode_t umaskNow = ::umask(0);
  ::umask(umaskNow);
  const mode_t mode =
      ::stat(target.c_str(), &old) == 0 ? (old.st_mode & 07777) : (0666 & ~umaskNow);
  bool ok = ::fchmod(fd, mode) == 0 && WriteAll(fd, text.data(), text.size()) && ::fsync(fd) == 0;
  const int writeErrno = errno;
  ok = (::close(fd) == 0) && ok;
  if (ok && ::rename(name.data(), target.c_str()) == 0) return true;
  error = Failure("cannot write", target, ok ? errno : writeErrno);
  ::unlink(name.data());
  return false;
}

}  // namespace

bool CTavroDoc::CanSave() const { return SetLoaded && !ExtractedFromArchive; }

bool CTavroDoc::PrepareSave(const std::string& pathName) {
  ConfirmOverwrite =
      !pathName.empty() && ::access(pathName.c_str(), R_OK) == 0 && !IsReadOnly(pathName);
  return ConfirmOverwrite;
}

bool CTavroDoc::OnSaveDocument(const std::string& path) {
  if (ConfirmOverwrite && !host().AskYesNo(kOverwriteQuestion, "")) return false;
  std::string error;
  if (SaveConfigFile(path, error)) return true;
  host().ShowMessage(error, "", MessageIcon::Exclamation);
  return false;
}

bool CTavroDoc::SaveConfigFile(const std::string& path, std::string& error) {
  // The whole text is made before the file is touched: the set events it raises may take a while.
  std::ostringstream text;
  CArchive archive(text);
  Serialize(archive);
  return ReplaceFile(SaveTarget(path), text.str(), error);
}

}  // namespace tavro
