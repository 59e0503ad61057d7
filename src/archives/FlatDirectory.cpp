#include "archives/FlatDirectory.h"

#include <cerrno>
#include <cstring>

#include "platform/FileDoor.h"

namespace tavro {

FlatDirectory::FlatDirectory(const std::string& directory, const ExtractLimits& limits,
                             OpenProgress& progress)
    : directory_(directory),
      budget_(limits.MaxTotalBytes),
      maxMembers_(limits.MaxMembers),
      progress_(progress) {}

FlatDirectory::~FlatDirectory() = default;

bool FlatDirectory::Fail(ExtractResult& result, ExtractStatus status, std::string detail) const {
  result.Status = status;
  result.Member = members_;
  result.Detail = std::move(detail);
  return false;
}

bool FlatDirectory::Open(ExtractResult& result) {
  if (opened_.Open(directory_, false)) return true;
  return Fail(result, ExtractStatus::WriteFailed, std::strerror(errno));
}

bool FlatDirectory::CountMember(ExtractResult& result) {
  if (progress_.Cancelled()) return Fail(result, ExtractStatus::Cancelled, "cancelled");
  if (++members_ <= maxMembers_) return true;
  return Fail(result, ExtractStatus::TooManyMembers, "too many members in the archive");
}

bool FlatDirectory::Fits(uint64_t size, ExtractResult& result) {
  if (size <= budget_) return true;
  return Fail(result, ExtractStatus::TooLarge, "archive unpacks to more than the allowed size");
}

bool FlatDirectory::Write(const std::string& name, const MemberReader& read, ExtractResult& result,
                          const std::function<void(const char*, size_t)>& observe) {
  // Never through a link left in the directory.
  const int fd = opened_.CreateFile(name);
  if (fd < 0) return Fail(result, ExtractStatus::WriteFailed, name + ": " + std::strerror(errno));
  bool ok = true;
  char block[65536];
  for (;;) {
    const int64_t n = read(block, sizeof block);
    if (n == 0) break;
    if (n < 0) {
      ok = Fail(result, ExtractStatus::Corrupt, name + ": unreadable member");
      break;
    }
    if (!Fits(static_cast<uint64_t>(n), result)) {
      ok = false;
      break;
    }
    budget_ -= static_cast<uint64_t>(n);
    if (observe) observe(block, static_cast<size_t>(n));
    if (!WriteAll(fd, block, static_cast<size_t>(n))) {
      ok = Fail(result, ExtractStatus::WriteFailed, name + ": " + std::strerror(errno));
      break;
    }
  }
  if (!CloseFile(fd) && ok) {
    ok = Fail(result, ExtractStatus::WriteFailed, name + ": " + std::strerror(errno));
  }
  if (ok) {
    ++result.Written;
    result.Names.push_back(name);
    progress_.MembersUnpacked(result.Written);
  }
  return ok;
}

}  // namespace tavro
