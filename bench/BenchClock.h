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

}  // namespace tavro::bench
