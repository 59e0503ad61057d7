#include "platform/GrowingFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "platform/FileDoor.h"

namespace tavro {

GrowingFile::~GrowingFile() { Discard(); }

void GrowingFile::Discard() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (inPlaceFd_ >= 0) ::close(inPlaceFd_);
  inPlaceFd_ = -1;
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
  size_ = 0;
  target_ = target;
  if (fd < 0) {
    const int why = errno;
    if (FolderRefusedNewFiles(why) && BeginInPlace(target)) return true;
    error_ = why;
    return false;
  }
  fd_ = fd;
  temporary_ = name;
  error_ = 0;
  return true;
}

bool GrowingFile::BeginInPlace(const std::string& target) {
  // The target is opened now, so a file that may not be written fails before the work starts.
  inPlaceFd_ = OpenInPlace(target);
  if (inPlaceFd_ < 0) return false;
  fd_ = CreateUnnamedSpool();
  if (fd_ < 0) {
    Discard();
    return false;
  }
  error_ = 0;
  return true;
}

bool GrowingFile::CopyIntoTarget() {
  std::vector<char> buffer(1 << 16);
  for (uint64_t offset = 0; offset < size_;) {
    const ssize_t got = ::pread(fd_, buffer.data(), buffer.size(), static_cast<off_t>(offset));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0 || !WriteAll(inPlaceFd_, buffer.data(), static_cast<size_t>(got))) {
      error_ = got == 0 ? EIO : errno;
      return false;
    }
    offset += static_cast<uint64_t>(got);
  }
  const int target = inPlaceFd_;
  inPlaceFd_ = -1;
  if (!FinishInPlace(target, size_)) {
    error_ = errno;
    return false;
  }
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
  if (inPlaceFd_ >= 0) {
    const bool copied = CopyIntoTarget();
    Discard();
    return copied;
  }
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
