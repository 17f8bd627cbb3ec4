// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/latest_request_worker.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace langxing {
namespace {

// What the tasks did, in order, and a way to wait for a given number of entries.
class Journal {
 public:
  void Add(std::string entry) {
    const std::lock_guard lock(mutex_);
    entries_.push_back(std::move(entry));
    changed_.notify_all();
  }
  std::vector<std::string> WaitFor(std::size_t count) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return entries_.size() >= count; });
    return entries_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<std::string> entries_;
};

// A task that says it started, then runs until it is cancelled.
LatestRequestWorker::Task RunsUntilCancelled(Journal& journal, std::string name) {
  return [&journal, name](const std::atomic<bool>& cancelled) {
    journal.Add(name + " started");
    while (!cancelled.load()) std::this_thread::yield();
    journal.Add(name + " cancelled");
  };
}

TEST(LatestRequestWorkerTest, RunsOnlyTheNewestAndCancelsTheOneRunning) {
  Journal journal;
  LatestRequestWorker worker;
  worker.Post(RunsUntilCancelled(journal, "a"));
  journal.WaitFor(1);
  // "b" waits behind "a" and is replaced by "c" before it starts.
  worker.Post([&](const std::atomic<bool>&) { journal.Add("b ran"); });
  worker.Post([&](const std::atomic<bool>& cancelled) {
    journal.Add(cancelled.load() ? "c cancelled at start" : "c ran");
  });
  EXPECT_EQ(journal.WaitFor(3), (std::vector<std::string>{"a started", "a cancelled", "c ran"}));
  worker.CancelAndWait();
}

TEST(LatestRequestWorkerTest, StopCancelsJoinsAndTakesNoMoreTasks) {
  Journal journal;
  {
    LatestRequestWorker worker;
    worker.Post(RunsUntilCancelled(journal, "a"));
    journal.WaitFor(1);
    worker.Stop();
    // Joined: the task has ended by now, and a task posted after the stop never runs.
    worker.Post([&](const std::atomic<bool>&) { journal.Add("late ran"); });
  }
  EXPECT_EQ(journal.WaitFor(2), (std::vector<std::string>{"a started", "a cancelled"}));
}

TEST(LatestRequestWorkerTest, CancelAllDropsTheWaitingTask) {
  Journal journal;
  LatestRequestWorker worker;
  worker.Post(RunsUntilCancelled(journal, "a"));
  journal.WaitFor(1);
  worker.Post([&](const std::atomic<bool>&) { journal.Add("b ran"); });
  worker.CancelAndWait();
  worker.Post([&](const std::atomic<bool>&) { journal.Add("c ran"); });
  EXPECT_EQ(journal.WaitFor(3), (std::vector<std::string>{"a started", "a cancelled", "c ran"}));
}

}  // namespace
}  // namespace langxing
