#include "platform/BufferedFile.h"

#include <algorithm>
#include <cstring>

namespace tavro {

size_t BufferedFile::Read(void* destination, size_t count) {
  auto* out = static_cast<char*>(destination);
  size_t done = 0;
  while (done < count) {
    const uint64_t blockEnd = blockStart_ + block_.size();
    if (position_ >= blockStart_ && position_ < blockEnd) {
      const size_t at = static_cast<size_t>(position_ - blockStart_);
      const size_t n = std::min(count - done, block_.size() - at);
      std::memcpy(out + done, block_.data() + at, n);
      done += n;
      position_ += n;
      continue;
    }
    // A request as large as a block goes straight to the file rather than through a copy.
    if (count - done >= kBlock) {
      const size_t n = file_.ReadAt(position_, out + done, count - done);
      done += n;
      position_ += n;
      break;
    }
    block_.resize(kBlock);
    const size_t got = file_.ReadAt(position_, block_.data(), kBlock);
    block_.resize(got);
    blockStart_ = position_;
    if (got == 0) break;
  }
  return done;
}

}  // namespace tavro
