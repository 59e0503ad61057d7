// ZIP archives through libarchive. Japanese ZIP files carry CP932 names without the UTF-8 flag;
// libarchive hands those over as the stored bytes, which is what lands on disk.
#include <archive.h>
#include <archive_entry.h>

#include <memory>

#include "document/ArchiveExtract.h"
#include "document/FlatDirectory.h"

namespace tavro {
namespace {

using ArchivePtr = std::unique_ptr<struct archive, decltype(&archive_read_free)>;

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
                             const ExtractLimits& limits) {
  ExtractResult result;
  ArchivePtr reader(archive_read_new(), &archive_read_free);
  if (!reader) return Failed(result, ExtractStatus::CannotOpen, 0, "no memory");
  archive_read_support_format_zip(reader.get());
  if (archive_read_open_filename(reader.get(), archivePath.c_str(), 65536) != ARCHIVE_OK) {
    return Failed(result, ExtractStatus::CannotOpen, 0, ErrorText(reader.get(), "cannot open"));
  }
  FlatDirectory out(directory, limits);
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
      ++result.skipped;
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
        result.status = ExtractStatus::UnsupportedMethod;
      }
      if (dataStatus != ARCHIVE_OK) result.detail = ErrorText(reader.get(), "unreadable member");
      return result;
    }
  }
  return result;
}

}  // namespace tavro
