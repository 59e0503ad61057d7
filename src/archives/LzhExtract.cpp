// LZH archives through liblhasa, which reads every method from -lh0- to -lh7-, -lhd-, -lzs-,
// -lz5- and -pm0- to -pm2-, and header levels 0 to 3. The member names come from the raw
// headers (see LzhHeaderName.h); the data is checked against each member's CRC-16.
#include <lhasa.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "archives/ArchiveExtract.h"
#include "archives/FlatDirectory.h"
#include "archives/LzhHeaderName.h"
#include "platform/BufferedFile.h"
#include "platform/FileDoor.h"

namespace tavro {
namespace {

// The archive file as liblhasa reads it: a few bytes at a time, so through a buffer. Where it
// has got to tells where the archive breaks off from where it ends.
struct CountingFile {
  ReadOnlyFile File;
  BufferedFile Buffered{File};
};

int ReadCounted(void* handle, void* buffer, size_t length) {
  return static_cast<int>(static_cast<CountingFile*>(handle)->Buffered.Read(buffer, length));
}

// Skipping past the end is allowed, as seeking is: the next read finds nothing there.
int SkipCounted(void* handle, size_t bytes) {
  BufferedFile& buffered = static_cast<CountingFile*>(handle)->Buffered;
  buffered.SeekTo(buffered.Position() + bytes);
  return 1;
}

void CloseNothing(void*) {}

const LHAInputStreamType kCountingStream = {ReadCounted, SkipCounted, CloseNothing};

struct ReaderDeleter {
  void operator()(LHAReader* reader) const { lha_reader_free(reader); }
};
struct StreamDeleter {
  void operator()(LHAInputStream* stream) const { lha_input_stream_free(stream); }
};

// CRC-16 as LZH headers store it (polynomial 0xA001, reflected, starting from 0).
void UpdateCrc16(uint16_t& crc, const char* data, size_t size) {
  for (size_t i = 0; i < size; ++i) {
    crc ^= static_cast<unsigned char>(data[i]);
    for (int bit = 0; bit < 8; ++bit) crc = (crc & 1) ? (crc >> 1) ^ 0xA001 : crc >> 1;
  }
}

bool IsPlainFile(const LHAFileHeader& header) {
  if (std::strcmp(header.compress_method, LHA_COMPRESS_TYPE_DIR) == 0) return false;
  if (header.symlink_target != nullptr) return false;
  if (LHA_FILE_HAVE_EXTRA(&header, LHA_FILE_UNIX_PERMS)) {
    // The header stores the Unix mode: its file type bits, and the value of a regular file.
    constexpr unsigned kTypeBits = 0170000;
    constexpr unsigned kRegularType = 0100000;
    const unsigned type = header.unix_perms & kTypeBits;
    if (type != 0 && type != kRegularType) return false;  // devices, pipes, sockets
  }
  return true;
}

// What follows the last member read when liblhasa found no more: the end mark (a zero byte) or
// the file's end, else the archive is damaged there.
ExtractResult CheckEnd(const ReadOnlyFile& file, uint64_t nextHeader, uint32_t members,
                       ExtractResult result) {
  const uint64_t size = file.Size();
  if (members == 0) {
    unsigned char head[4] = {};
    const size_t n = file.ReadAt(0, head, sizeof head);
    if (size == 1 && head[0] == 0) return result;  // an empty archive
    // A header begins "-lh", "-lz" or "-pm" after its two length and check-sum bytes.
    const bool looksLikeLzh = n == 4 && head[2] == '-' && (head[3] == 'l' || head[3] == 'p');
    if (!looksLikeLzh) return Failed(result, ExtractStatus::NotAnArchive, 0, "no LZH header");
    return Failed(result, ExtractStatus::Corrupt, 1, "unreadable first header");
  }
  if (nextHeader > size) return Failed(result, ExtractStatus::Corrupt, members, "cut short");
  unsigned char mark = 0;
  if (nextHeader == size || (file.ReadAt(nextHeader, &mark, 1) == 1 && mark == 0)) {
    return result;
  }
  return Failed(result, ExtractStatus::Corrupt, members + 1, "unreadable header");
}

}  // namespace

ExtractResult ExtractLzhFlat(const std::string& archivePath, const std::string& directory,
                             const ExtractLimits& limits, OpenProgress& progress) {
  ExtractResult result;
  CountingFile file;
  if (!file.File.Open(archivePath)) {
    // A folder or a pipe holds no header; a pipe is not even opened, as it could block.
    if (file.File.Error() == 0)
      return Failed(result, ExtractStatus::NotAnArchive, 0, "no LZH header");
    return Failed(result, ExtractStatus::CannotOpen, 0, std::strerror(file.File.Error()));
  }

  std::unique_ptr<LHAInputStream, StreamDeleter> stream(
      lha_input_stream_new(&kCountingStream, &file));
  if (!stream) return Failed(result, ExtractStatus::CannotOpen, 0, "no memory");
  std::unique_ptr<LHAReader, ReaderDeleter> reader(lha_reader_new(stream.get()));
  if (!reader) return Failed(result, ExtractStatus::CannotOpen, 0, "no memory");
  // Plain: folders are members like any other, never replayed at the end.
  lha_reader_set_dir_policy(reader.get(), LHA_READER_DIR_PLAIN);

  FlatDirectory out(directory, limits, progress);
  if (!out.Open(result)) return result;
  uint64_t nextHeader = 0;
  while (LHAFileHeader* header = lha_reader_next_file(reader.get())) {
    if (!out.CountMember(result)) return result;
    nextHeader = file.Buffered.Position() + header->compressed_length;
    const auto stored = ReadLzhStoredName(header->raw_data, header->raw_data_len);
    const std::string name = stored ? FlatMemberName(stored->Components, stored->Absolute) : "";
    if (name.empty() || !IsPlainFile(*header)) {
      ++result.Skipped;
      continue;
    }
    if (lha_decoder_for_name(header->compress_method) == nullptr) {
      return Failed(result, ExtractStatus::UnsupportedMethod, out.Members(),
                    std::string(header->compress_method, strnlen(header->compress_method, 5)));
    }
    if (!out.Fits(header->length, result)) return result;
    size_t remaining = header->length;
    auto read = [&](char* buffer, size_t capacity) -> int64_t {
      if (remaining == 0) return 0;
      const size_t n = lha_reader_read(reader.get(), buffer, std::min(capacity, remaining));
      if (n == 0) return -1;  // the data ends before the member does
      remaining -= n;
      return static_cast<int64_t>(n);
    };
    uint16_t crc = 0;
    auto observe = [&crc](const char* data, size_t size) { UpdateCrc16(crc, data, size); };
    if (!out.Write(name, read, result, observe)) return result;
    if (crc != header->crc) {
      return Failed(result, ExtractStatus::Corrupt, out.Members(), name + ": CRC mismatch");
    }
  }
  return CheckEnd(file.File, nextHeader, out.Members(), result);
}

}  // namespace tavro
