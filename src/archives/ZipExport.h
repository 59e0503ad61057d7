// A folder written out as a ZIP archive: how the page hands a person the set it shows, with the
// files as they stand on its disk, so that what was saved there goes along.
//
// Names are the folder's own bytes with '/' between folders. A set's Shift_JIS names go in
// unconverted and unflagged, as the archives such sets come in hold them, so the archive opens
// again (here or anywhere those sets are read) with the configuration's names still matching.
// Only plain files go in: links, devices and pipes are left out, and a link to a folder is never
// followed out of it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tavro {

struct ZipExportResult {
  bool Written = false;
  std::string Error;               // what failed, naming the file; empty on success
  std::vector<std::string> Names;  // the names put in, in the archive's order
};

// How deep and how large a folder may be before it is refused rather than written.
inline constexpr int32_t kMaxExportDepth = 32;
inline constexpr uint32_t kMaxExportFiles = 100000;

// Writes every plain file below `folder` (recursively, by name order) into a new ZIP archive at
// `output`, except `output` itself should it lie below `folder`. The archive replaces `output`
// only once complete: on any failure nothing is left under that name but what was there before.
ZipExportResult ExportFolderZip(const std::string& folder, const std::string& output);

}  // namespace tavro
