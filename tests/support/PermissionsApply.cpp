#include "support/PermissionsApply.h"

#include <unistd.h>

#ifndef __EMSCRIPTEN__
#include <linux/capability.h>
#include <sys/syscall.h>
#endif

namespace tavro::test {

#ifdef __EMSCRIPTEN__

// The in-memory file system checks permissions for everyone; there are no capabilities.
PermissionsApply::PermissionsApply() { active_ = true; }
PermissionsApply::~PermissionsApply() = default;

#else

namespace {

// Only the effective set changes: the permitted set keeps them, so they can be taken back.
bool ChangeOverride(bool raise) {
  __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
  __user_cap_data_struct data[2]{};
  if (::syscall(SYS_capget, &header, data) != 0) return false;
  const unsigned bits = (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH);
  if (raise) {
    data[0].effective |= bits & data[0].permitted;
  } else {
    data[0].effective &= ~bits;
  }
  return ::syscall(SYS_capset, &header, data) == 0;
}

}  // namespace

PermissionsApply::PermissionsApply() {
  if (::geteuid() != 0) {
    active_ = true;
    return;
  }
  dropped_ = ChangeOverride(false);
  active_ = dropped_;
}

PermissionsApply::~PermissionsApply() {
  if (dropped_) ChangeOverride(true);
}

#endif

}  // namespace tavro::test
