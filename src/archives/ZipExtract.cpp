// ZIP archives through libarchive. Japanese ZIP files carry CP932 names without the UTF-8 flag;
// libarchive hands those over as the stored bytes, which is what lands on disk.
#include <archive.h>
#include <archive_entry.h>

#include <cstring>
#include <memory>
#include <vector>

#include "archives/ArchiveExtract.h"
#include "archives/FlatDirectory.h"
#include "platform/FileDoor.h"

namespace tavro {
namespace {

using ArchivePtr = std::unique_ptr<struct archive, decltype(&archive_read_free)>;

// The archive file as libarchive reads it: in blocks, skipping and seeking, so that it can go to
// the central directory at the end as it does with a file it opens itself.
struct ZipSource {
  ReadOnlyFile File;
  int64_t Position = 0;
  std::vector<char> Block = std::vector<char>(65536);
};

la_ssize_t ReadBlock(struct archive*, void* data, const void** buffer) {
  auto* source = static_cast<ZipSource*>(data);
  const size_t n = source->File.ReadAt(static_cast<uint64_t>(source->Position),
                                       source->Block.data(), source->Block.size());
  source->Position += static_cast<int64_t>(n);
  *buffer = source->Block.data();
  return static_cast<la_ssize_t>(n);
}

// Never past the end: skipping nothing makes libarchive read on and find where the file stops.
la_int64_t SkipBytes(struct archive*, void* data, la_int64_t request) {
  auto* source = static_cast<ZipSource*>(data);
  const auto size = static_cast<int64_t>(source->File.Size());
  if (request < 0 || source->Position >= size || request > size - source->Position) return 0;
  source->Position += request;
  return request;
}

la_int64_t SeekTo(struct archive*, void* data, la_int64_t offset, int whence) {
  auto* source = static_cast<ZipSource*>(data);
  const int64_t from = whence == SEEK_SET   ? 0
                       : whence == SEEK_CUR ? source->Position
                                            : static_cast<int64_t>(source->File.Size());
  if (from + offset < 0) return ARCHIVE_FATAL;
  source->Position = from + offset;
  return source->Position;
}

std::string ErrorText(struct archive* reader, const char* otherwise) {
  const char* text = archive_error_string(reader);
  return text != nullptr ? text : otherwise;
}

bool IsRegularMember(struct archive_entry* entry) {
  return archive_entry_filetype(entry) == AE_IFREG && archive_entry_hardlink(entry) == nullptr &&
         archive_entry_symlink(entry) == nullptr;
}

// The stored bytes; a name flagged as UTF-8 that the locale cannot hold comes as UTF-8.
std::string StoredName(struct archive_entry* entry) {
  if (const char* raw = archive_entry_pathname(entry)) return raw;
  if (const char* utf8 = archive_entry_pathname_utf8(entry)) return utf8;
  return "";
}

}  // namespace

ExtractResult ExtractZipFlat(const std::string& archivePath, const std::string& directory,
                             const ExtractLimits& limits, OpenProgress& progress) {
  ExtractResult result;
  ArchivePtr reader(archive_read_new(), &archive_read_free);
  if (!reader) return Failed(result, ExtractStatus::CannotOpen, 0, "no memory");
  archive_read_support_format_zip(reader.get());
  ZipSource source;
  if (!source.File.Open(archivePath)) {
    const int error = source.File.Error();
    return Failed(result, ExtractStatus::CannotOpen, 0,
                  error != 0 ? std::strerror(error) : "not a file");
  }
  archive_read_set_read_callback(reader.get(), ReadBlock);
  archive_read_set_skip_callback(reader.get(), SkipBytes);
  archive_read_set_seek_callback(reader.get(), SeekTo);
  archive_read_set_callback_data(reader.get(), &source);
  if (archive_read_open1(reader.get()) != ARCHIVE_OK) {
    return Failed(result, ExtractStatus::CannotOpen, 0, ErrorText(reader.get(), "cannot open"));
  }
  FlatDirectory out(directory, limits, progress);
  if (!out.Open(result)) return result;

  struct archive_entry* entry = nullptr;
  for (;;) {
    const int status = archive_read_next_header(reader.get(), &entry);
    if (status == ARCHIVE_EOF) break;
    if (status < ARCHIVE_WARN) {
      const ExtractStatus why =
          out.Members() == 0 ? ExtractStatus::NotAnArchive : ExtractStatus::Corrupt;
      return Failed(result, why, out.Members() + 1, ErrorText(reader.get(), "corrupt archive"));
    }
    if (!out.CountMember(result)) return result;
    const std::string name = FlatMemberName(StoredName(entry));
    if (name.empty() || !IsRegularMember(entry)) {
      ++result.Skipped;
      continue;
    }
    if (archive_entry_is_encrypted(entry)) {
      return Failed(result, ExtractStatus::UnsupportedMethod, out.Members(), "encrypted");
    }
    if (archive_entry_size_is_set(entry) &&
        !out.Fits(static_cast<uint64_t>(archive_entry_size(entry)), result)) {
      return result;
    }
    int dataStatus = ARCHIVE_OK;
    auto read = [&](char* buffer, size_t capacity) -> int64_t {
      const la_ssize_t n = archive_read_data(reader.get(), buffer, capacity);
      if (n < 0) dataStatus = static_cast<int>(n);
      return n < 0 ? -1 : n;
    };
    if (!out.Write(name, read, result)) {
      // A method libarchive does not know fails the member alone; damage fails the archive.
      if (dataStatus == ARCHIVE_FAILED || dataStatus == ARCHIVE_WARN) {
        result.Status = ExtractStatus::UnsupportedMethod;
      }
      if (dataStatus != ARCHIVE_OK) result.Detail = ErrorText(reader.get(), "unreadable member");
      return result;
    }
  }
  return result;
}

}  // namespace tavro
