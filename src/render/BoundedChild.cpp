#include "render/BoundedChild.h"

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#if defined(__SANITIZE_ADDRESS__)
#define TAVRO_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TAVRO_ADDRESS_SANITIZER 1
#endif
#endif

namespace tavro::render {

namespace {

void ApplyLimits(const ChildLimits& limits) {
  const rlim_t seconds = static_cast<rlim_t>(limits.Seconds);
  const rlimit cpu{seconds, seconds + 1};
  setrlimit(RLIMIT_CPU, &cpu);
#ifndef TAVRO_ADDRESS_SANITIZER
  // The sanitizer reserves terabytes of shadow memory up front; there the deadline must do.
  const rlimit address{limits.AddressBytes, limits.AddressBytes};
  setrlimit(RLIMIT_AS, &address);
#endif
}

// Waits for `child` until `deadline`; SIGCHLD must be blocked in the caller.
bool WaitUntil(pid_t child, std::chrono::steady_clock::time_point deadline, int& status) {
  sigset_t childSignal;
  sigemptyset(&childSignal);
  sigaddset(&childSignal, SIGCHLD);
  for (;;) {
    const pid_t done = waitpid(child, &status, WNOHANG);
    if (done == child) return true;
    if (done < 0 && errno != EINTR) return false;
    const auto left = deadline - std::chrono::steady_clock::now();
    if (left <= std::chrono::steady_clock::duration::zero()) return false;
    const auto nanoseconds = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
    const timespec wait{static_cast<time_t>(nanoseconds / 1000000000),
                        static_cast<long>(nanoseconds % 1000000000)};
    sigtimedwait(&childSignal, nullptr, &wait);
  }
}

}  // namespace

ChildOutcome RunBoundedChild(const std::function<int()>& work, const ChildLimits& limits) {
  sigset_t childSignal, previous;
  sigemptyset(&childSignal);
  sigaddset(&childSignal, SIGCHLD);
  sigprocmask(SIG_BLOCK, &childSignal, &previous);
  std::fflush(nullptr);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(limits.Seconds);
  const pid_t child = fork();
  if (child == 0) {
    sigprocmask(SIG_SETMASK, &previous, nullptr);
    ApplyLimits(limits);
    std::exit(work());
  }
  ChildOutcome outcome;
  if (child > 0) {
    int status = 0;
    if (!WaitUntil(child, deadline, status)) {
      kill(child, SIGKILL);
      waitpid(child, &status, 0);
    } else if (WIFEXITED(status)) {
      outcome.Finished = true;
      outcome.ExitCode = WEXITSTATUS(status);
    }
  }
  sigprocmask(SIG_SETMASK, &previous, nullptr);
  return outcome;
}

}  // namespace tavro::render
