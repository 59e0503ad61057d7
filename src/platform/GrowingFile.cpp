#include "platform/GrowingFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "platform/FileDoor.h"

namespace tavro {

GrowingFile::~GrowingFile() { Discard(); }

void GrowingFile::Discard() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!temporary_.empty()) ::unlink(temporary_.c_str());
  temporary_.clear();
}

bool GrowingFile::Create(const std::string& path) {
  Discard();
  // As a save does: a read-only file is not replaced behind its protection, and a link stays a
  // link to the file it names.
  if (IsReadOnly(path)) {
    error_ = EACCES;
    return false;
  }
  const std::string target = ResolveLinks(path);
  std::string name;
  const int fd = CreateBeside(target, ".part", name);
  if (fd < 0) {
    error_ = errno;
    return false;
  }
  fd_ = fd;
  temporary_ = name;
  target_ = target;
  size_ = 0;
  error_ = 0;
  return true;
}

bool GrowingFile::Append(const void* data, size_t size) {
  if (fd_ < 0) return false;
  if (!WriteAll(fd_, static_cast<const char*>(data), size)) {
    error_ = errno;
    return false;
  }
  size_ += size;
  return true;
}

bool GrowingFile::WriteAt(uint64_t offset, const void* data, size_t size) {
  if (fd_ < 0 || offset + size > size_) return false;
  const auto* bytes = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t n = ::pwrite(fd_, bytes, size, static_cast<off_t>(offset));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      error_ = errno;
      return false;
    }
    bytes += n;
    offset += static_cast<uint64_t>(n);
    size -= static_cast<size_t>(n);
  }
  return true;
}

bool GrowingFile::Commit() {
  if (fd_ < 0) return false;
  const bool flushed = ::fsync(fd_) == 0;
  if (!flushed) error_ = errno;
  const bool closed = ::close(fd_) == 0;
  if (!closed && flushed) error_ = errno;
  fd_ = -1;
  if (flushed && closed && ::rename(temporary_.c_str(), target_.c_str()) == 0) {
    temporary_.clear();
    return true;
  }
  if (flushed && closed) error_ = errno;
  Discard();
  return false;
}

}  // namespace tavro
