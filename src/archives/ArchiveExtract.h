// Unpacking an LZH or ZIP archive flat into one directory, as the LZH archiver's "e" command does.
//
// Every regular member lands under its base name in the directory (a later member of the same
// name replaces an earlier one). Names are the archive's own bytes: a Shift_JIS name stays
// Shift_JIS, so the configuration's names match. Nothing is ever written outside the directory:
// members that are links, devices or directories, or whose names are absolute or climb with
// "..", are skipped, and a file is never opened through a link that already sits in the
// directory.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/OpenProgress.h"

namespace tavro {

struct ExtractLimits {
  uint64_t MaxTotalBytes = uint64_t{1} << 30;  // all members together, unpacked
  uint32_t MaxMembers = 20000;                 // members looked at, skipped ones included
};

enum class ExtractStatus {
  Ok,
  CannotOpen,         // the archive file itself could not be read
  NotAnArchive,       // no member could be found at all
  Corrupt,            // `member` is damaged, or the archive breaks off there
  UnsupportedMethod,  // `member` is packed in a way no reader here knows
  TooLarge,
  TooManyMembers,
  WriteFailed,
  Cancelled,  // the person stopped the open; what was written so far stays
};

struct ExtractResult {
  ExtractStatus Status = ExtractStatus::Ok;
  uint32_t Written = 0;  // files written
  uint32_t Skipped = 0;  // members left out as unsafe or not regular files
  uint32_t Member = 0;   // the member (counted from 1) a failure is about, 0 for none
  std::string Detail;    // what went wrong, for a test or a log
  // The names written, in the order the archive holds them (a name written twice, twice).
  std::vector<std::string> Names;
};

// `result` marked failed at `member` with `detail`: how the extractors give up.
inline ExtractResult Failed(ExtractResult result, ExtractStatus status, uint32_t member,
                            std::string detail) {
  result.Status = status;
  result.Member = member;
  result.Detail = std::move(detail);
  return result;
}

// Extracts `archivePath` into the existing directory `directory` (absolute path). A file that
// starts like a ZIP archive is read as one, anything else as LZH. `progress` hears of every
// member written and is asked before each member whether to stop.
ExtractResult ExtractArchiveFlat(const std::string& archivePath, const std::string& directory,
                                 const ExtractLimits& limits = {},
                                 OpenProgress& progress = NoOpenProgress());
ExtractResult ExtractLzhFlat(const std::string& archivePath, const std::string& directory,
                             const ExtractLimits& limits = {},
                             OpenProgress& progress = NoOpenProgress());
ExtractResult ExtractZipFlat(const std::string& archivePath, const std::string& directory,
                             const ExtractLimits& limits = {},
                             OpenProgress& progress = NoOpenProgress());

// The name a member stored as `memberPath` is written under, or "" when it must be skipped.
// Folders are separated by '/' or by backslashes outside Shift_JIS characters.
std::string FlatMemberName(const std::string& memberPath);
// The same for a name already split into folders; `absolute` when it started with a separator.
std::string FlatMemberName(const std::vector<std::string>& components, bool absolute);

}  // namespace tavro
