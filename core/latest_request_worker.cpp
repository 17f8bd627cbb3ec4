// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/latest_request_worker.hpp"

#include <utility>

namespace langxing {

LatestRequestWorker::~LatestRequestWorker() { Stop(); }

void LatestRequestWorker::Post(Task task) {
  const std::lock_guard lock(mutex_);
  if (stopping_) return;
  if (runningCancel_) runningCancel_->store(true);
  waiting_ = std::move(task);
  waitingCancel_ = std::make_shared<std::atomic<bool>>(false);
  if (!thread_.joinable()) thread_ = std::thread([this] { Run(); });
  changed_.notify_all();
}

void LatestRequestWorker::CancelAll() {
  Task dropped;
  {
    const std::lock_guard lock(mutex_);
    if (runningCancel_) runningCancel_->store(true);
    dropped = std::move(waiting_);
    waiting_ = nullptr;
    waitingCancel_.reset();
  }
  // `dropped` goes here, outside the lock: what it holds may take the lock's owner's time.
}

void LatestRequestWorker::CancelAndWait() {
  CancelAll();
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return runningCancel_ == nullptr; });
}

void LatestRequestWorker::Stop() {
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  CancelAll();
  changed_.notify_all();
  if (thread_.joinable()) thread_.join();
}

void LatestRequestWorker::Run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    changed_.wait(lock, [this] { return stopping_ || waiting_ != nullptr; });
    if (stopping_) return;
    Task task = std::move(waiting_);
    waiting_ = nullptr;
    runningCancel_ = std::move(waitingCancel_);
    const std::shared_ptr<std::atomic<bool>> cancel = runningCancel_;
    lock.unlock();
    try {
      task(*cancel);
    } catch (...) {
      // A task that throws ends as if it had returned; the worker goes on with the next.
    }
    task = nullptr;  // what the task holds is freed here, on this thread
    lock.lock();
    runningCancel_.reset();
    changed_.notify_all();
  }
}

}  // namespace langxing
