// A plain file read from the front through a buffer.
//
// The archive libraries ask for a few bytes at a time (a header field, the next bits of a
// stream); a system call for each costs more than the unpacking itself. This reads the file in
// large blocks and hands the libraries their few bytes from memory, so the number of reads
// grows with the archive's size divided by the block, not with the calls made.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/FileDoor.h"

namespace tavro {

class BufferedFile {
 public:
  static constexpr size_t kBlock = size_t{1} << 16;

  // `file` must stay open while this reads it.
  explicit BufferedFile(const ReadOnlyFile& file) : file_(file) {}

  // Up to `count` bytes from Position() on, which moves past them; fewer at the end.
  size_t Read(void* destination, size_t count);
  // Moves the position; past the end is allowed, the next read there finds nothing.
  void SeekTo(uint64_t position) { position_ = position; }
  uint64_t Position() const { return position_; }
  uint64_t Size() const { return file_.Size(); }

 private:
  const ReadOnlyFile& file_;
  std::vector<char> block_;
  uint64_t blockStart_ = 0;  // the file offset of block_[0]
  uint64_t position_ = 0;
};

}  // namespace tavro
