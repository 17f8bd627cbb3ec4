// SPDX-License-Identifier: GPL-3.0-or-later
// A background thread that runs only the newest request.
#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace langxing {

// Runs posted tasks one at a time on a thread of its own, started at the first post. A task
// posted replaces the one still waiting (that one never runs) and sets the cancel flag of the
// one running, which is expected to end within moments of seeing it set. A task is destroyed
// on the worker thread once it has run, so that what it holds is freed where it was used.
// Stop (and the destructor) cancels, drops what waits and joins the thread.
class LatestRequestWorker final {
 public:
  using Task = std::function<void(const std::atomic<bool>& cancelled)>;

  LatestRequestWorker() = default;
  ~LatestRequestWorker();
  LatestRequestWorker(const LatestRequestWorker&) = delete;
  LatestRequestWorker& operator=(const LatestRequestWorker&) = delete;

  // Queues `task` in place of any waiting and cancels the one running. Ignored after Stop.
  void Post(Task task);
  // Cancels the task running and drops the one waiting.
  void CancelAll();
  // CancelAll, then waits until no task runs any more.
  void CancelAndWait();
  // CancelAll, then ends the thread and joins it. The worker takes no task after this.
  void Stop();

 private:
  void Run();

  std::mutex mutex_;
  std::condition_variable changed_;
  // Guarded by mutex_.
  Task waiting_;
  std::shared_ptr<std::atomic<bool>> waitingCancel_;
  std::shared_ptr<std::atomic<bool>> runningCancel_;  // set while a task runs
  bool stopping_ = false;
  std::thread thread_;
};

}  // namespace langxing
