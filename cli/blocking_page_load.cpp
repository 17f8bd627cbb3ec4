// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/blocking_page_load.hpp"

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>

#include "core/page_loader.hpp"

namespace langxing::cli {
namespace {

// Tasks posted from the loader's worker thread, run on the thread that waits.
class TaskQueue {
 public:
  void Post(std::function<void()> task) {
    {
      std::lock_guard lock(mutex_);
      tasks_.push_back(std::move(task));
    }
    ready_.notify_one();
  }

  // The next task, or none when the deadline passed first.
  std::optional<std::function<void()>> Next(std::chrono::steady_clock::time_point deadline) {
    std::unique_lock lock(mutex_);
    if (!ready_.wait_until(lock, deadline, [this] { return !tasks_.empty(); })) return std::nullopt;
    auto task = std::move(tasks_.front());
    tasks_.pop_front();
    return task;
  }

 private:
  std::mutex mutex_;
  std::condition_variable ready_;
  std::deque<std::function<void()>> tasks_;
};

}  // namespace

std::chrono::milliseconds PatienceFor(const NetworkLimits& limits) {
  // Two transfers at most: a page that names its feed, then the feed.
  return 2 * (limits.totalTimeout + limits.connectTimeout) + std::chrono::seconds(15);
}

PageLoad LoadPageBlocking(const std::u16string& url, const NetworkLimits& limits,
                          std::chrono::milliseconds patience, DataSources sources) {
  // The queue outlives the loader: a worker still finishing after we gave up may post into it.
  auto queue = std::make_shared<TaskQueue>();
  PageLoader loader([queue](std::function<void()> task) { queue->Post(std::move(task)); }, limits,
                    BodyParts::kBoth, std::move(sources));
  std::optional<PageLoad> result;
  loader.DocumentComplete = [&] {
    if (result) return;
    result.emplace();
    result->error = loader.LoadError();
    if (result->error.empty())
      result->body = BodyTexts{loader.BodyInnerHtml(), loader.BodyInnerText()};
    result->rollFeed = loader.DataText();
  };
  loader.Navigate(url);

  const auto deadline = std::chrono::steady_clock::now() + patience;
  while (!result) {
    auto task = queue->Next(deadline);
    if (!task) break;
    (*task)();
  }
  loader.DocumentComplete = nullptr;
  if (result) return std::move(*result);
  const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(patience).count();
  return PageLoad{std::nullopt, "no answer within " + std::to_string(seconds) + " s", std::nullopt};
}

}  // namespace langxing::cli
