// A new file written piece by piece and put in place only when it is complete.
//
// Long outputs (a recorded animation) are written as they are made rather than held in memory.
// The bytes go to a temporary file beside the target, which Commit() renames over it; a writer
// destroyed without a successful Commit() removes the temporary file, so a failed or abandoned
// write never leaves half a file under the target's name.
//
// In a folder that may not be written, an existing file that may be is written in place: the
// bytes gather in an unnamed file in the system's temporary directory and are copied into the
// target by Commit(). The target stays whole until then; only a failure during that copy leaves
// it damaged.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tavro {

class GrowingFile {
 public:
  GrowingFile() = default;
  ~GrowingFile();
  GrowingFile(const GrowingFile&) = delete;
  GrowingFile& operator=(const GrowingFile&) = delete;

  // Creates the temporary file beside `path` (beside the file it links to, for a link), or opens
  // `path` for writing in place; false with Error() set when it cannot, also when `path` is a
  // file that may not be written.
  bool Create(const std::string& path);
  // Appends `size` bytes; false on a write error (the file stays unusable).
  bool Append(const void* data, size_t size);
  // Overwrites bytes already written, for headers whose sizes are known only at the end.
  bool WriteAt(uint64_t offset, const void* data, size_t size);
  // Bytes appended so far.
  uint64_t Size() const { return size_; }
  // Flushes, closes and renames the file over the target (or copies it into the target).
  bool Commit();
  // The errno of the step that failed.
  int Error() const { return error_; }

 private:
  void Discard();
  bool BeginInPlace(const std::string& target);
  bool CopyIntoTarget();

  int fd_ = -1;
  int inPlaceFd_ = -1;  // the target itself, when it is written in place
  std::string target_;
  std::string temporary_;
  uint64_t size_ = 0;
  int error_ = 0;
};

}  // namespace tavro
