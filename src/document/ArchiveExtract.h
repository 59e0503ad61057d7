// Unpacking an LZH archive flat into one directory, as the archiver's "e" command does.
//
// Every regular member lands under its base name in the directory (a later member of the same
// name replaces an earlier one). Nothing is ever written outside the directory: members that are
// links, devices or directories, or whose names are absolute or climb with "..", are skipped,
// and a file is never opened through a link that already sits in the directory.
#pragma once

#include <cstdint>
#include <string>

namespace tavro {

struct ExtractLimits {
  uint64_t maxTotalBytes = uint64_t{1} << 30;  // all members together, unpacked
  uint32_t maxMembers = 20000;                 // members looked at, skipped ones included
};

enum class ExtractStatus { Ok, CannotOpen, Corrupt, TooLarge, TooManyMembers, WriteFailed };

struct ExtractResult {
  ExtractStatus status = ExtractStatus::Ok;
  uint32_t written = 0;  // files written
  uint32_t skipped = 0;  // members left out as unsafe or not regular files
  std::string detail;    // what went wrong, for a message or a test
};

// Extracts `archivePath` into the existing directory `directory` (absolute path).
ExtractResult ExtractArchiveFlat(const std::string& archivePath, const std::string& directory,
                                 const ExtractLimits& limits = {});

// The name a member is written under, or "" when the member must be skipped.
std::string FlatMemberName(const std::string& memberPath);

}  // namespace tavro
