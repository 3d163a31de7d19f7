#include "platform/linux/BatchWorker.h"

#include <system_error>

namespace scenewright::linux_platform {

BatchWorker::BatchWorker(std::size_t batchBytes, Job job, bool ownThread)
    : job_(std::move(job)), batches_(kBatches, std::vector<std::uint8_t>(batchBytes, 0)) {
  if (!ownThread) return;
  try {
    worker_ = std::thread([this] { Run(); });
  } catch (const std::system_error&) {
    // No thread to be had: Hand does each job itself.
  }
}

BatchWorker::~BatchWorker() {
  {
    const std::lock_guard lock(mutex_);
    ending_ = true;
    changed_.notify_all();
  }
  if (worker_.joinable()) worker_.join();
}

bool BatchWorker::Hand(int firstRow, int rows) {
  std::unique_lock lock(mutex_);
  if (failed_) return false;
  if (!worker_.joinable()) {
    failed_ = !job_(Filling(), firstRow, rows);
    return !failed_;
  }
  handedRows_[handed_ % kBatches] = {firstRow, rows};
  ++handed_;
  changed_.notify_all();
  changed_.wait(lock, [&] { return failed_ || handed_ - done_ < kBatches; });
  return !failed_;
}

bool BatchWorker::Finish() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [&] { return failed_ || done_ == handed_; });
  return !failed_;
}

void BatchWorker::Run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    changed_.wait(lock, [&] { return ending_ || failed_ || done_ < handed_; });
    // Ending waits for what was handed, unless a job failed.
    if (failed_ || done_ == handed_) return;
    const std::size_t at = done_ % kBatches;
    const Handed batch = handedRows_[at];
    lock.unlock();
    const bool done = job_(batches_[at].data(), batch.firstRow, batch.rows);
    lock.lock();
    failed_ = !done;
    ++done_;
    changed_.notify_all();
  }
}

}  // namespace scenewright::linux_platform
