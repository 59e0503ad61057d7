// The file door: every file the core opens, reads, writes or renames goes through here.
//
// Nothing outside platform/ calls the operating system for files. Failures come back as values
// (with the errno where the caller words a message from it); nothing throws.
//
// Directories (listing, temporary directories, writing members into one) are in Directory.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tavro {

// A plain file open for reading. Only regular files are opened: a name in a hostile set or a
// dropped path may point at a FIFO or a device, and opening or reading those could block forever.
// Reads never return more bytes than asked for, and a short file simply yields fewer bytes.
class ReadOnlyFile {
 public:
  ReadOnlyFile() = default;
  ~ReadOnlyFile();
  ReadOnlyFile(const ReadOnlyFile&) = delete;
  ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

  // False when `path` does not exist, is not a regular file or cannot be read; Error() says why.
  bool Open(const std::string& path);
  // Size of the open file in bytes, as it was when opened.
  uint64_t Size() const { return size_; }
  // The errno of the last failed Open (ENOENT, EACCES ...), or 0 when the path exists but is not
  // a plain file.
  int Error() const { return error_; }
  // Reads up to `count` bytes starting at `offset` into `destination`; returns how many were
  // read (fewer at the end of the file or on a read error).
  size_t ReadAt(uint64_t offset, void* destination, size_t count) const;

 private:
  int fd_ = -1;
  uint64_t size_ = 0;
  int error_ = 0;
};

// How many read calls the door has made of the system in this process so far: tests compare it
// before and after some work to see that reads grow with what is read, not with the asking.
uint64_t FileReadCalls();

// Why a whole file could not be read.
enum class WholeFileFailure {
  None,
  CannotOpen,  // missing, unreachable or unreadable; `error` holds the errno
  NotAFile,    // a directory, pipe, device ...
  TooLarge,    // larger than the caller's limit
  CutShort,    // fewer bytes arrived than the file held when it was opened
};

struct WholeFile {
  WholeFileFailure Failure = WholeFileFailure::None;
  int Error = 0;
  std::vector<char> Bytes;
};

// The whole of the regular file `path`, which may not be larger than `limit` bytes. The checks
// come before the file is opened, so a pipe is never opened and a huge file never allocated for.
WholeFile ReadWholeFile(const std::string& path, uint64_t limit);

// True when `path` exists and this process may read it.
bool IsReadable(const std::string& path);
// True when `path` exists and has no write permission bit, or this process may not write it.
// Root may write a file without any write bit anyway; such a file still counts as read-only.
bool IsReadOnly(const std::string& path);

// Replaces the file `target` with `text`: written to a new file beside it, flushed, and renamed
// over it, so a failed save leaves the old file whole. An existing file keeps its permissions; a
// new one gets the usual ones. Where the folder may not be written, so that nothing can be made
// beside the file, an existing file that may be written is written in place instead: that keeps
// its hard links, owner and group, but a failure halfway leaves it damaged. On failure `what`
// names the step and `error` holds the errno; no temporary file is left behind.
enum class ReplaceStep { None, ReadOnly, CreateBeside, Write };
bool ReplaceFile(const std::string& target, const std::string& text, ReplaceStep& what, int& error);

// Creates a new file beside `target` (its name plus `suffix` and six random characters), with
// the permissions `target` has, or the usual ones when it does not exist yet, and returns its
// descriptor and name; -1 with errno set when it cannot be made. The replacing writers fill it
// and rename it over `target`, so a failed write never leaves `target` half written.
int CreateBeside(const std::string& target, const char* suffix, std::string& name);

// True when a failure of CreateBeside (its errno) means the folder may not be written, the case
// in which a writer may write an existing file in place instead.
bool FolderRefusedNewFiles(int error);

// Opens the existing regular file `target` for writing in place, without truncating it; -1 with
// errno set when it is missing, not a plain file or may not be written.
int OpenInPlace(const std::string& target);

// A file without a name in the system's temporary directory, open for reading and writing, gone
// when closed; -1 with errno set when none can be made. Holds what a writer in place copies into
// its target at the end, so the target stays whole while the bytes are being made.
int CreateUnnamedSpool();

// Makes the file behind `fd` exactly `size` bytes long, flushes and closes it; false (errno set)
// on failure, the descriptor closed either way.
bool FinishInPlace(int fd, uint64_t size);

// `path` with its links resolved as far as they exist, so that writing to the result replaces
// the file a link points at and the link stays a link. `path` itself when nothing resolves.
std::string ResolveLinks(const std::string& path);

// `path` made absolute against the current directory (without touching the file system
// otherwise); `path` unchanged when the current directory cannot be found.
std::string AbsolutePath(const std::string& path);

// Writes all `size` bytes to the descriptor, going on after short writes and interrupted calls;
// false on an error (errno tells which).
bool WriteAll(int fd, const char* data, size_t size);

}  // namespace tavro
