// Reading the bytes of one cel or palette file of a set.
//
// Only regular files are opened: a name in a hostile set may point at a FIFO or a device, and
// opening or reading those could block the load forever. Reads never return more bytes than
// asked for, and a short file simply yields fewer bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tavro {

class SetFileReader {
 public:
  SetFileReader() = default;
  ~SetFileReader();
  SetFileReader(const SetFileReader&) = delete;
  SetFileReader& operator=(const SetFileReader&) = delete;

  // Opens `path` for reading; false when it does not exist, is not a regular file or cannot be
  // read.
  bool Open(const std::string& path);
  // Size of the open file in bytes, as it was when opened.
  uint64_t Size() const { return size_; }
  // Reads up to `count` bytes starting at `offset` into `destination`; returns how many were
  // read (fewer at the end of the file or on a read error).
  size_t ReadAt(uint64_t offset, uint8_t* destination, size_t count) const;

 private:
  int fd_ = -1;
  uint64_t size_ = 0;
};

}  // namespace tavro
