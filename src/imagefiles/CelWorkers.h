// A few threads that decode cel files while the configuration's lines are read. Jobs are taken
// oldest first; whoever waits for a job that no worker has taken yet runs it itself, so the
// calling thread works too and a pool of one core less keeps every core busy.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace tavro {

class CelWorkers {
 public:
  // One piece of work; `run` gets a read buffer of the thread that runs it.
  struct Job {
    std::function<void(std::vector<uint8_t>& buffer)> Run;
    enum class State : uint8_t { Queued, Running, Done } State = State::Queued;
  };

  // Threads to start beside the calling one: one less than the processor's cores, none in a build
  // without threads.
  static int32_t ThreadsBeside();

  // With no workers every job runs when it is waited for.
  CelWorkers() = default;
  // Waits for the running jobs; jobs no one has taken are dropped.
  ~CelWorkers();
  CelWorkers(const CelWorkers&) = delete;
  CelWorkers& operator=(const CelWorkers&) = delete;

  // Starts `threads` more workers.
  void Grow(int32_t threads);
  void Submit(std::shared_ptr<Job> job);
  bool IsDone(const Job& job);
  // Returns once `job` is done, running it, or other queued jobs meanwhile, on this thread.
  void Wait(Job& job, std::vector<uint8_t>& buffer);

 private:
  void Work();
  // Takes the oldest queued job, marked running; null when none is queued. Lock held.
  std::shared_ptr<Job> TakeQueued();
  void RunTaken(Job& job, std::vector<uint8_t>& buffer);

  std::mutex lock_;
  std::condition_variable wake_;      // a job was queued, or the pool stops
  std::condition_variable finished_;  // a job is done
  std::deque<std::shared_ptr<Job>> queue_;
  bool stopping_ = false;
  std::vector<std::thread> threads_;
};

}  // namespace tavro
