// How far a long open has come, and whether the person still wants it.
//
// An open unpacks an archive and then loads the cels one after another; a front end that shows
// a progress bar hears of each step here, on the thread that opens, and may answer that the open
// is to stop. Every method does nothing by default: a front end that shows no progress, or a
// caller that has none to show, passes NoOpenProgress().
#pragma once

#include <cstdint>

namespace tavro {

class OpenProgress {
 public:
  virtual ~OpenProgress() = default;

  // `count` members of the archive have been written so far.
  virtual void MembersUnpacked(uint32_t count) { (void)count; }
  // `loaded` cel lines of about `total` have been read and their files decoded (or given up).
  // `total` counts the configuration's cel lines before they are read, so `loaded` may end
  // below it.
  virtual void CelsLoaded(int32_t loaded, int32_t total) { (void)loaded, (void)total; }
  // True once the person has asked the open to stop: the open then ends as soon as it can and
  // leaves nothing behind.
  virtual bool Cancelled() const { return false; }
};

// The progress nobody watches.
inline OpenProgress& NoOpenProgress() {
  static OpenProgress none;
  return none;
}

}  // namespace tavro
