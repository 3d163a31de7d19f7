#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace scenewright::linux_platform {

// Batches of rows filled on the decoding thread and handed, in order, to one worker thread
// that does the rest with them (the cover, the write), so that decoding and the rest run side
// by side on two cores. Only a few batches are in flight: the decoder waits while all are, so
// memory stays a few batches whatever the picture. The worker lives only as long as this.
class BatchWorker {
 public:
  // Runs on the worker, a batch at a time in the order handed: its buffer (which the job may
  // change), its first row and its count of rows. A job that fails stops the others.
  using Job = std::function<bool(std::uint8_t* batch, int firstRow, int rows)>;
  // Without `ownThread`, Hand does each job itself on the caller's thread.
  BatchWorker(std::size_t batchBytes, Job job, bool ownThread = true);
  ~BatchWorker();  // waits for the batches handed
  BatchWorker(const BatchWorker&) = delete;
  BatchWorker& operator=(const BatchWorker&) = delete;

  // The batch being filled.
  std::uint8_t* Filling() { return batches_[handed_ % kBatches].data(); }
  // Hands the batch being filled to the worker and waits until the next one is free; false
  // once a job has failed.
  bool Hand(int firstRow, int rows);
  // Waits until every batch handed is done; false when a job failed.
  bool Finish();

 private:
  static constexpr std::size_t kBatches = 4;
  struct Handed {
    int firstRow, rows;
  };
  void Run();

  Job job_;
  std::vector<std::vector<std::uint8_t>> batches_;
  Handed handedRows_[kBatches] = {};
  std::mutex mutex_;
  std::condition_variable changed_;
  std::size_t handed_ = 0;  // batches handed so far; batch i is batches_[i % kBatches]
  std::size_t done_ = 0;    // of those, the ones the worker has finished
  bool failed_ = false;
  bool ending_ = false;
  std::thread worker_;  // last: started once the rest is in place
};

}  // namespace scenewright::linux_platform
