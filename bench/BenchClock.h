// CPU time of the calling thread: the machine is shared, and wall time would charge a benchmark
// for other processes' work.
#pragma once

#include <ctime>

namespace tavro::bench {

inline double ThreadSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Wall time, for work spread over several threads, whose calling thread's CPU time would leave
// the others' out. Noisier on a shared machine: compare within one run.
inline double WallSeconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

}  // namespace tavro::bench
