#include "imagefiles/SetFileReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace tavro {

SetFileReader::~SetFileReader() {
  if (fd_ >= 0) ::close(fd_);
}

bool SetFileReader::Open(const std::string& path) {
  // O_NONBLOCK keeps open() from waiting for a writer when the name is a FIFO; it does not
  // change how a regular file reads.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return false;
  }
  if (fd_ >= 0) ::close(fd_);
  fd_ = fd;
  size_ = static_cast<uint64_t>(st.st_size);
  return true;
}

size_t SetFileReader::ReadAt(uint64_t offset, uint8_t* destination, size_t count) const {
  if (fd_ < 0) return 0;
  size_t done = 0;
  while (done < count) {
    const ssize_t got =
        ::pread(fd_, destination + done, count - done, static_cast<off_t>(offset + done));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    done += static_cast<size_t>(got);
  }
  return done;
}

}  // namespace tavro
