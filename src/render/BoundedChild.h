// Runs a piece of work in a child process with a cap on its memory and its processor time and a
// deadline on the clock, so that a hostile or broken file cannot hang or exhaust the caller.
#pragma once

#include <functional>

namespace tavro::render {

struct ChildLimits {
  int Seconds = 20;                              // wall clock and processor time each
  unsigned long long AddressBytes = 3ULL << 30;  // address space
};

// What became of the child.
struct ChildOutcome {
  bool Finished = false;  // exited by itself (not killed, not timed out)
  int ExitCode = -1;      // when finished
};

// Forks; the child runs `work` under `limits` and exits with what it returns (destructors of
// `work`'s locals run first). The parent waits at most `limits.seconds` and then kills it.
ChildOutcome RunBoundedChild(const std::function<int()>& work, const ChildLimits& limits);

}  // namespace tavro::render
