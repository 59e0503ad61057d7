#include "document/ArchiveExtract.h"

#include <archive.h>
#include <archive_entry.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>

namespace tavro {
namespace {

using ArchivePtr = std::unique_ptr<struct archive, decltype(&archive_read_free)>;

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

ExtractResult Fail(ExtractResult result, ExtractStatus status, std::string detail) {
  result.status = status;
  result.detail = std::move(detail);
  return result;
}

std::string ErrorText(struct archive* reader, const char* otherwise) {
  const char* text = archive_error_string(reader);
  return text != nullptr ? text : otherwise;
}

bool WriteAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

// Copies the current member's data into `fd`, counting against the byte budget.
ExtractStatus CopyMember(struct archive* reader, int fd, uint64_t& budget, std::string& detail) {
  char block[65536];
  for (;;) {
    const la_ssize_t n = archive_read_data(reader, block, sizeof block);
    if (n == 0) return ExtractStatus::Ok;
    if (n < 0) {
      detail = ErrorText(reader, "unreadable member");
      return ExtractStatus::Corrupt;
    }
    if (static_cast<uint64_t>(n) > budget) {
      detail = "archive unpacks to more than the allowed size";
      return ExtractStatus::TooLarge;
    }
    budget -= static_cast<uint64_t>(n);
    if (!WriteAll(fd, block, static_cast<size_t>(n))) {
      detail = std::strerror(errno);
      return ExtractStatus::WriteFailed;
    }
  }
}

// Writes the current member as `name` inside the directory `dirFd`.
ExtractStatus WriteMember(struct archive* reader, int dirFd, const std::string& name,
                          uint64_t& budget, std::string& detail) {
  // O_NOFOLLOW: a link left in the directory is never written through.
  FileDescriptor out(
      ::openat(dirFd, name.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0644));
  if (out.get() < 0) {
    detail = std::strerror(errno);
    return ExtractStatus::WriteFailed;
  }
  const ExtractStatus copied = CopyMember(reader, out.get(), budget, detail);
  if (!out.Close() && copied == ExtractStatus::Ok) {
    detail = std::strerror(errno);
    return ExtractStatus::WriteFailed;
  }
  return copied;
}

bool IsRegularMember(struct archive_entry* entry) {
  return archive_entry_filetype(entry) == AE_IFREG && archive_entry_hardlink(entry) == nullptr &&
         archive_entry_symlink(entry) == nullptr;
}

}  // namespace

std::string FlatMemberName(const std::string& memberPath) {
  if (memberPath.empty() || memberPath[0] == '/' || memberPath[0] == '\\') return "";
  // A drive letter ("C:...") is as absolute as a leading separator.
  if (memberPath.size() >= 2 && memberPath[1] == ':') return "";
  size_t start = 0;
  std::string component;
  for (size_t i = 0; i <= memberPath.size(); ++i) {
    if (i == memberPath.size() || memberPath[i] == '/' || memberPath[i] == '\\') {
      component = memberPath.substr(start, i - start);
      if (component == "..") return "";
      start = i + 1;
    }
  }
  // `component` is now the last one; "" for a directory entry, "." names no file.
  if (component.empty() || component == ".") return "";
  return component;
}

ExtractResult ExtractArchiveFlat(const std::string& archivePath, const std::string& directory,
                                 const ExtractLimits& limits) {
  ExtractResult result;
  ArchivePtr reader(archive_read_new(), &archive_read_free);
  if (!reader) return Fail(result, ExtractStatus::CannotOpen, "no memory");
  archive_read_support_format_lha(reader.get());
  if (archive_read_open_filename(reader.get(), archivePath.c_str(), 65536) != ARCHIVE_OK) {
    return Fail(result, ExtractStatus::CannotOpen, ErrorText(reader.get(), "cannot open"));
  }
  FileDescriptor dir(::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
  if (dir.get() < 0) return Fail(result, ExtractStatus::WriteFailed, std::strerror(errno));

  uint64_t budget = limits.maxTotalBytes;
  uint32_t members = 0;
  struct archive_entry* entry = nullptr;
  for (;;) {
    const int status = archive_read_next_header(reader.get(), &entry);
    if (status == ARCHIVE_EOF) break;
    if (status < ARCHIVE_WARN) {
      return Fail(result, ExtractStatus::Corrupt, ErrorText(reader.get(), "corrupt archive"));
    }
    if (++members > limits.maxMembers) {
      return Fail(result, ExtractStatus::TooManyMembers, "too many members in the archive");
    }
    const char* rawName = archive_entry_pathname(entry);
    const std::string name = rawName ? FlatMemberName(rawName) : std::string();
    if (name.empty() || !IsRegularMember(entry)) {
      ++result.skipped;
      continue;
    }
    if (archive_entry_size_is_set(entry) &&
        static_cast<uint64_t>(archive_entry_size(entry)) > budget) {
      return Fail(result, ExtractStatus::TooLarge, "archive unpacks to more than the allowed size");
    }
    std::string detail;
    const ExtractStatus written = WriteMember(reader.get(), dir.get(), name, budget, detail);
    if (written != ExtractStatus::Ok) return Fail(result, written, name + ": " + detail);
    ++result.written;
  }
  return result;
}

}  // namespace tavro
