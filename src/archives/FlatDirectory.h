// The directory an archive is unpacked into, with the budget every reader keeps to.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "archives/ArchiveExtract.h"
#include "platform/Directory.h"

namespace tavro {

class FlatDirectory {
 public:
  // Reads up to `capacity` bytes of the current member into `buffer`: the count, 0 at its end,
  // or -1 when the member cannot be read.
  using MemberReader = std::function<int64_t(char* buffer, size_t capacity)>;

  FlatDirectory(const std::string& directory, const ExtractLimits& limits,
                OpenProgress& progress = NoOpenProgress());
  ~FlatDirectory();
  FlatDirectory(const FlatDirectory&) = delete;
  FlatDirectory& operator=(const FlatDirectory&) = delete;

  // False (with `result` filled in) when the directory cannot be opened.
  bool Open(ExtractResult& result);
  // Counts the next member; false (with `result` filled in) once there are too many or the
  // open has been cancelled.
  bool CountMember(ExtractResult& result);
  uint32_t Members() const { return members_; }
  // False (with `result` filled in) when a member of `size` bytes cannot fit the budget.
  bool Fits(uint64_t size, ExtractResult& result);
  // Writes the current member as `name`; on failure `result` says why. Every byte passes
  // `observe` on its way to the file, so a reader can check what it unpacked.
  bool Write(const std::string& name, const MemberReader& read, ExtractResult& result,
             const std::function<void(const char*, size_t)>& observe = {});

 private:
  bool Fail(ExtractResult& result, ExtractStatus status, std::string detail) const;

  std::string directory_;
  OpenDirectory opened_;
  uint64_t budget_;
  uint32_t maxMembers_;
  uint32_t members_ = 0;
  OpenProgress& progress_;
};

}  // namespace tavro
