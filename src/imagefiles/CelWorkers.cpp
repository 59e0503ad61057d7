#include "imagefiles/CelWorkers.h"

#include <algorithm>

namespace tavro {

int32_t CelWorkers::ThreadsBeside() {
#if TAVRO_THREADS
  const auto cores = static_cast<int32_t>(std::thread::hardware_concurrency());
  return std::clamp(cores - 1, 0, 15);
#else
  return 0;
#endif
}

void CelWorkers::Grow(int32_t threads) {
#if TAVRO_THREADS
  for (int32_t i = 0; i < threads; ++i) threads_.emplace_back([this] { Work(); });
#else
  (void)threads;
#endif
}

CelWorkers::~CelWorkers() {
  {
    const std::lock_guard<std::mutex> hold(lock_);
    stopping_ = true;
    queue_.clear();
  }
  wake_.notify_all();
  for (std::thread& thread : threads_) thread.join();
}

void CelWorkers::Submit(std::shared_ptr<Job> job) {
  {
    const std::lock_guard<std::mutex> hold(lock_);
    queue_.push_back(std::move(job));
  }
  wake_.notify_one();
}

bool CelWorkers::IsDone(const Job& job) {
  const std::lock_guard<std::mutex> hold(lock_);
  return job.State == Job::State::Done;
}

std::shared_ptr<CelWorkers::Job> CelWorkers::TakeQueued() {
  if (queue_.empty()) return nullptr;
  std::shared_ptr<Job> job = std::move(queue_.front());
  queue_.pop_front();
  job->State = Job::State::Running;
  return job;
}

void CelWorkers::RunTaken(Job& job, std::vector<uint8_t>& buffer) {
  job.Run(buffer);
  {
    const std::lock_guard<std::mutex> hold(lock_);
    job.State = Job::State::Done;
  }
  finished_.notify_all();
}

void CelWorkers::Wait(Job& job, std::vector<uint8_t>& buffer) {
  std::unique_lock<std::mutex> hold(lock_);
  while (job.State != Job::State::Done) {
    // The job waited for is the oldest, so it is the first taken if no worker has it.
    if (std::shared_ptr<Job> taken = TakeQueued()) {
      hold.unlock();
      RunTaken(*taken, buffer);
      hold.lock();
      continue;
    }
    finished_.wait(hold);
  }
}

void CelWorkers::Work() {
  std::vector<uint8_t> buffer;
  std::unique_lock<std::mutex> hold(lock_);
  for (;;) {
    wake_.wait(hold, [this] { return stopping_ || !queue_.empty(); });
    if (stopping_) return;
    std::shared_ptr<Job> job = TakeQueued();
    hold.unlock();
    RunTaken(*job, buffer);
    hold.lock();
  }
}

}  // namespace tavro
