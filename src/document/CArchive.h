// The serialization archive through which a document is read from or written to its file.
//
// A loading archive reads from a stream that holds a file of a known length; a storing archive
// writes to a stream. The archive owns neither stream: the open and save steps own them for the
// length of one Serialize call.
#pragma once

#include <cstddef>
#include <cstdint>
#include <istream>
#include <ostream>

namespace tavro {

class CArchive {
 public:
  // Loading: `length` is the length of the file behind `input`, as the file system reports it.
  CArchive(std::istream& input, int64_t length) : Input(&input), Length(length) {}
  // Storing.
  explicit CArchive(std::ostream& output) : Output(&output) {}

  bool IsStoring() const { return Output != nullptr; }
  bool IsLoading() const { return Input != nullptr; }

  // Loading only: the length of the file being read.
  int64_t FileLength() const { return Length; }
  // Loading only: reads up to `count` bytes and returns how many arrived (fewer when the file
  // ended early or could not be read).
  size_t Read(void* destination, size_t count);

  // Storing only: false once a write has failed.
  bool Write(const void* source, size_t count);
  bool WriteText(const char* text);

 private:
  std::istream* Input = nullptr;
  std::ostream* Output = nullptr;
  int64_t Length = 0;
};

}  // namespace tavro
