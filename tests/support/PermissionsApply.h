// Permissions that hold for the test as they hold for a user. Tests often run as root, whom
// permissions do not stop; while a PermissionsApply lives, the calling thread has put down the
// capabilities that pass over them, and it takes them back at the end.
#pragma once

namespace tavro::test {

class PermissionsApply {
 public:
  PermissionsApply();
  ~PermissionsApply();
  PermissionsApply(const PermissionsApply&) = delete;
  PermissionsApply& operator=(const PermissionsApply&) = delete;

  // False when the capabilities could not be put down (the test cannot be real then).
  bool Active() const { return active_; }

 private:
  bool dropped_ = false;
  bool active_ = false;
};

}  // namespace tavro::test
