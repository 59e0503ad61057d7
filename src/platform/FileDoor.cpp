#include "platform/FileDoor.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <new>
#include <system_error>
#include <vector>

namespace tavro {
namespace {

std::atomic<uint64_t> readCalls{0};

}  // namespace

uint64_t FileReadCalls() { return readCalls.load(std::memory_order_relaxed); }

ReadOnlyFile::~ReadOnlyFile() {
  if (fd_ >= 0) ::close(fd_);
}

bool ReadOnlyFile::Open(const std::string& path) {
  // O_NONBLOCK keeps open() from waiting for a writer when the name is a FIFO; it does not
  // change how a regular file reads.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    error_ = errno;
    return false;
  }
  struct stat st {};
  const bool looked = ::fstat(fd, &st) == 0;
  if (!looked || !S_ISREG(st.st_mode)) {
    error_ = looked ? 0 : errno;
    ::close(fd);
    return false;
  }
  if (fd_ >= 0) ::close(fd_);
  fd_ = fd;
  size_ = static_cast<uint64_t>(st.st_size);
  error_ = 0;
  return true;
}

size_t ReadOnlyFile::ReadAt(uint64_t offset, void* destination, size_t count) const {
  if (fd_ < 0) return 0;
  auto* bytes = static_cast<char*>(destination);
  size_t done = 0;
  while (done < count) {
    readCalls.fetch_add(1, std::memory_order_relaxed);
    const ssize_t got = ::pread(fd_, bytes + done, count - done, static_cast<off_t>(offset + done));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    done += static_cast<size_t>(got);
  }
  return done;
}

WholeFile ReadWholeFile(const std::string& path, uint64_t limit) {
  WholeFile result;
  // Looked at before opening: a pipe could block the program or never end.
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) {
    result.Failure = WholeFileFailure::CannotOpen;
    result.Error = errno;
    return result;
  }
  if (!S_ISREG(info.st_mode)) {
    result.Failure = WholeFileFailure::NotAFile;
    return result;
  }
  if (static_cast<uint64_t>(info.st_size) > limit) {
    result.Failure = WholeFileFailure::TooLarge;
    return result;
  }
  ReadOnlyFile file;
  if (!file.Open(path)) {
    // Replaced by something else since it was looked at.
    result.Failure = file.Error() == 0 ? WholeFileFailure::NotAFile : WholeFileFailure::CannotOpen;
    result.Error = file.Error();
    return result;
  }
  // The size as looked at first: a file that shrank since then is cut short.
  const auto length = static_cast<size_t>(info.st_size);
  try {
    // Room for one more byte: a reader of text adds its terminating zero without a copy.
    result.Bytes.reserve(length + 1);
    result.Bytes.resize(length);
  } catch (const std::bad_alloc&) {
    result.Failure = WholeFileFailure::CutShort;
    return result;
  }
  if (file.ReadAt(0, result.Bytes.data(), length) != length) {
    result.Bytes = std::vector<char>();
    result.Failure = WholeFileFailure::CutShort;
  }
  return result;
}

bool IsReadable(const std::string& path) { return ::access(path.c_str(), R_OK) == 0; }

bool IsReadOnly(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return false;
  return (info.st_mode & 0222) == 0 || ::access(path.c_str(), W_OK) != 0;
}

namespace {

// The text written into `target` itself, for a folder that refuses the file beside it.
bool ReplaceInPlace(const std::string& target, const std::string& text, ReplaceStep& what,
                    int& error, int besideError) {
  const int fd = OpenInPlace(target);
  if (fd < 0) {
    // Nothing there to write into: in such a folder no new file can be made either.
    what = ReplaceStep::CreateBeside;
    error = besideError;
    return false;
  }
  what = ReplaceStep::Write;
  if (!WriteAll(fd, text.data(), text.size())) {
    error = errno;
    ::close(fd);
    return false;
  }
  if (!FinishInPlace(fd, text.size())) {
    error = errno;
    return false;
  }
  what = ReplaceStep::None;
  return true;
}

}  // namespace

bool ReplaceFile(const std::string& target, const std::string& text, ReplaceStep& what,
                 int& error) {
  what = ReplaceStep::None;
  error = 0;
  // Replacing a read-only file by a rename would pass over its protection.
  if (IsReadOnly(target)) {
    what = ReplaceStep::ReadOnly;
    error = EACCES;
    return false;
  }
  std::string name;
  const int fd = CreateBeside(target, ".save", name);
  if (fd < 0) {
    const int why = errno;
    if (FolderRefusedNewFiles(why)) return ReplaceInPlace(target, text, what, error, why);
    what = ReplaceStep::CreateBeside;
    error = why;
    return false;
  }
  bool ok = WriteAll(fd, text.data(), text.size()) && ::fsync(fd) == 0;
  const int writeErrno = errno;
  ok = (::close(fd) == 0) && ok;
  if (ok && ::rename(name.c_str(), target.c_str()) == 0) return true;
  what = ReplaceStep::Write;
  error = ok ? errno : writeErrno;
  ::unlink(name.c_str());
  return false;
}

bool FolderRefusedNewFiles(int error) { return error == EACCES || error == EPERM; }

int OpenInPlace(const std::string& target) {
  // O_NONBLOCK: a FIFO under the name must not hold the program until someone reads it.
  const int fd = ::open(target.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return -1;
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    errno = EINVAL;
    return -1;
  }
  return fd;
}

int CreateUnnamedSpool() {
  std::error_code failed;
  std::string folder = std::filesystem::temp_directory_path(failed).string();
  if (failed || folder.empty()) folder = "/tmp";
  int fd = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
  if (fd >= 0) return fd;
  // Not every file system has files without a name: a named one, removed at once.
  std::string pattern = folder + "/tavro-spool-XXXXXX";
  fd = ::mkostemp(pattern.data(), O_CLOEXEC);
  if (fd >= 0) ::unlink(pattern.c_str());
  return fd;
}

bool FinishInPlace(int fd, uint64_t size) {
  bool ok = ::ftruncate(fd, static_cast<off_t>(size)) == 0 && ::fsync(fd) == 0;
  int why = ok ? 0 : errno;
  if (::close(fd) != 0 && ok) {
    ok = false;
    why = errno;
  }
  errno = why;
  return ok;
}

int CreateBeside(const std::string& target, const char* suffix, std::string& name) {
  std::vector<char> pattern(target.begin(), target.end());
  pattern.insert(pattern.end(), suffix, suffix + std::strlen(suffix));
  for (int i = 0; i < 6; ++i) pattern.push_back('X');
  pattern.push_back('\0');
  const int fd = ::mkstemp(pattern.data());
  if (fd < 0) return -1;
  // mkstemp makes the file private; it takes the permissions of the file it will replace.
  struct stat old {};
  const mode_t umaskNow = ::umask(0);
  ::umask(umaskNow);
  const mode_t mode =
      ::stat(target.c_str(), &old) == 0 ? (old.st_mode & 07777) : (0666 & ~umaskNow);
  if (::fchmod(fd, mode) != 0) {
    const int why = errno;
    ::close(fd);
    ::unlink(pattern.data());
    errno = why;
    return -1;
  }
  name = pattern.data();
  return fd;
}

std::string ResolveLinks(const std::string& path) {
  std::error_code error;
  const auto resolved = std::filesystem::weakly_canonical(path, error);
  return error ? path : resolved.string();
}

std::string AbsolutePath(const std::string& path) {
  std::error_code error;
  const auto full = std::filesystem::absolute(std::filesystem::path(path), error);
  return error ? path : full.string();
}

bool WriteAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

}  // namespace tavro
