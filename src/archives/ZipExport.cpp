#include "archives/ZipExport.h"

#include <archive.h>
#include <archive_entry.h>
#include <locale.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <utility>

#include "platform/Directory.h"
#include "platform/FileDoor.h"
#include "platform/GrowingFile.h"

namespace tavro {
namespace {

using WriterPtr = std::unique_ptr<struct archive, decltype(&archive_write_free)>;
using EntryPtr = std::unique_ptr<struct archive_entry, decltype(&archive_entry_free)>;

constexpr size_t kBlockBytes = size_t{1} << 16;

std::string SystemError(int error) { return error != 0 ? std::strerror(error) : "failed"; }

// The ZIP writer flags every name that is not plain ASCII as UTF-8 whenever the locale is UTF-8,
// as the page's is. A Shift_JIS name so flagged would be read back as broken UTF-8, so the
// writer runs in the C locale, on this thread alone, and the names go in unflagged.
class PlainLocale {
 public:
  PlainLocale() : plain_(::newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr))) {
    if (plain_ != static_cast<locale_t>(nullptr)) previous_ = ::uselocale(plain_);
  }
  ~PlainLocale() {
    if (plain_ == static_cast<locale_t>(nullptr)) return;
    ::uselocale(previous_);
    ::freelocale(plain_);
  }
  PlainLocale(const PlainLocale&) = delete;
  PlainLocale& operator=(const PlainLocale&) = delete;

 private:
  locale_t plain_;
  locale_t previous_ = static_cast<locale_t>(nullptr);
};

// The walk below the folder: plain files by their names relative to it, sub-folders entered,
// everything else passed by.
class FolderWalk {
 public:
  FolderWalk(std::string root, std::string leftOut)
      : root_(std::move(root)), leftOut_(std::move(leftOut)) {}

  bool Walk(ZipExportResult& result) { return Visit("", 0, result); }

 private:
  bool Visit(const std::string& prefix, int32_t depth, ZipExportResult& result) {
    const std::string here = root_ + "/" + prefix;
    OpenDirectory folder;
    if (!folder.Open(here, depth == 0)) {
      result.Error = "cannot list " + here + ": " + SystemError(errno);
      return false;
    }
    std::vector<std::string> names;
    std::vector<std::string> others;
    const bool listed = folder.ForEachEntry([&](const DirectoryEntry& entry) {
      (entry.IsPlainFile() ? names : others).emplace_back(entry.Name());
      return names.size() + others.size() + result.Names.size() <= kMaxExportFiles;
    });
    if (!listed) {
      result.Error = "cannot list " + here;
      return false;
    }
    if (names.size() + others.size() + result.Names.size() > kMaxExportFiles) {
      result.Error =
          root_ + " holds more than " + std::to_string(kMaxExportFiles) + " files and folders";
      return false;
    }
    for (std::string& name : names) {
      std::string relative = prefix + name;
      if (relative != leftOut_) result.Names.push_back(std::move(relative));
    }
    std::sort(others.begin(), others.end());
    for (const std::string& name : others) {
      // Only what opens as a folder without following a link is one; a link or a pipe refuses.
      OpenDirectory probe;
      if (!probe.Open(here + name, false)) {
        if (errno == ENOTDIR || errno == ELOOP || errno == ENOENT) continue;
        result.Error = "cannot list " + here + name + ": " + SystemError(errno);
        return false;
      }
      if (depth + 1 >= kMaxExportDepth) {
        result.Error = here + name + " lies too deep below " + root_;
        return false;
      }
      if (!Visit(prefix + name + "/", depth + 1, result)) return false;
    }
    return true;
  }

  std::string root_;
  std::string leftOut_;  // the output's name relative to the root, when it lies below it
};

la_ssize_t WriteBlock(struct archive*, void* data, const void* buffer, size_t length) {
  auto* out = static_cast<GrowingFile*>(data);
  if (!out->Append(buffer, length)) return -1;
  return static_cast<la_ssize_t>(length);
}

std::string WriterError(struct archive* writer, const GrowingFile& out, const std::string& path) {
  if (out.Error() != 0) return "cannot write " + path + ": " + SystemError(out.Error());
  const char* text = archive_error_string(writer);
  return "cannot write " + path + ": " + (text != nullptr ? text : "failed");
}

// One file into the archive, its size as it was when opened; a file that then reads short
// fails, since its header already promised those bytes.
bool AddFile(struct archive* writer, const GrowingFile& out, const std::string& output,
             const std::string& path, const std::string& name, std::vector<char>& block,
             std::string& error) {
  ReadOnlyFile file;
  if (!file.Open(path)) {
    error = "cannot read " + path + ": " + SystemError(file.Error());
    return false;
  }
  EntryPtr entry(archive_entry_new(), &archive_entry_free);
  if (!entry) {
    error = "cannot write " + output + ": no memory";
    return false;
  }
  archive_entry_copy_pathname(entry.get(), name.c_str());
  archive_entry_set_filetype(entry.get(), AE_IFREG);
  archive_entry_set_perm(entry.get(), 0644);
  archive_entry_set_size(entry.get(), static_cast<la_int64_t>(file.Size()));
  if (archive_write_header(writer, entry.get()) < ARCHIVE_WARN) {
    error = WriterError(writer, out, output);
    return false;
  }
  for (uint64_t offset = 0; offset < file.Size();) {
    const size_t wanted =
        static_cast<size_t>(std::min<uint64_t>(block.size(), file.Size() - offset));
    const size_t n = file.ReadAt(offset, block.data(), wanted);
    if (n == 0) {
      error = "cannot read " + path + ": it ended early";
      return false;
    }
    if (archive_write_data(writer, block.data(), n) != static_cast<la_ssize_t>(n)) {
      error = WriterError(writer, out, output);
      return false;
    }
    offset += n;
  }
  if (archive_write_finish_entry(writer) < ARCHIVE_WARN) {
    error = WriterError(writer, out, output);
    return false;
  }
  return true;
}

}  // namespace

ZipExportResult ExportFolderZip(const std::string& folder, const std::string& output) {
  ZipExportResult result;
  std::string root = ResolveLinks(AbsolutePath(folder));
  while (root.size() > 1 && root.back() == '/') root.pop_back();
  if (root.empty() || !PathExists(root)) {
    result.Error = "there is no folder " + folder;
    return result;
  }
  // The output found below the folder by the same resolved spelling the walk builds names from.
  const std::string target = ResolveLinks(AbsolutePath(output));
  std::string leftOut;
  if (target.size() > root.size() + 1 && target.compare(0, root.size(), root) == 0 &&
      target[root.size()] == '/') {
    leftOut = target.substr(root.size() + 1);
  }
  // The walk comes before the output is made: the file that grows beside it is no member.
  FolderWalk walk(root, leftOut);
  if (!walk.Walk(result)) {
    result.Names.clear();
    return result;
  }
  std::sort(result.Names.begin(), result.Names.end());

  GrowingFile out;
  if (!out.Create(output)) {
    result.Error = "cannot write " + output + ": " + SystemError(out.Error());
    result.Names.clear();
    return result;
  }
  const PlainLocale plainNames;
  WriterPtr writer(archive_write_new(), &archive_write_free);
  if (!writer || archive_write_set_format_zip(writer.get()) != ARCHIVE_OK) {
    result.Error = "cannot write " + output + ": no ZIP writer";
    result.Names.clear();
    return result;
  }
  // Deflated where the library can; stored otherwise.
  archive_write_zip_set_compression_deflate(writer.get());
  // No padding after the end of the archive.
  archive_write_set_bytes_in_last_block(writer.get(), 1);
  if (archive_write_open2(writer.get(), &out, nullptr, WriteBlock, nullptr, nullptr) !=
      ARCHIVE_OK) {
    result.Error = WriterError(writer.get(), out, output);
    result.Names.clear();
    return result;
  }
  std::vector<char> block(kBlockBytes);
  for (const std::string& name : result.Names) {
    if (!AddFile(writer.get(), out, output, root + "/" + name, name, block, result.Error)) {
      result.Names.clear();
      return result;
    }
  }
  if (archive_write_close(writer.get()) != ARCHIVE_OK || !out.Commit()) {
    result.Error = WriterError(writer.get(), out, output);
    result.Names.clear();
    return result;
  }
  result.Written = true;
  return result;
}

}  // namespace tavro
