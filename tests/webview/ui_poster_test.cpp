// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui_poster.hpp"

#include <gtest/gtest.h>

#include <QObject>
#include <QTest>
#include <QThread>
#include <atomic>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace {

TEST(UiPoster, TasksFromAWorkerRunOnTheUiThreadInOrder) {
  QObject context;
  const langxing::UiPoster post = MakeUiPoster(&context);
  std::vector<int> order;
  std::vector<bool> onUiThread;
  QThread* uiThread = QThread::currentThread();

  std::thread worker([&] {
    for (int i = 0; i < 200; ++i)
      post([&, i] {
        order.push_back(i);
        onUiThread.push_back(QThread::currentThread() == uiThread);
      });
  });
  worker.join();
  EXPECT_TRUE(order.empty()) << "tasks wait for the event loop";

  ASSERT_TRUE(QTest::qWaitFor([&] { return order.size() == 200; }, 5000));
  for (int i = 0; i < 200; ++i) EXPECT_EQ(order[i], i);
  EXPECT_EQ(std::count(onUiThread.begin(), onUiThread.end(), false), 0);
}

TEST(UiPoster, TasksForADestroyedContextAreDropped) {
  auto context = std::make_unique<QObject>();
  const langxing::UiPoster post = MakeUiPoster(context.get());
  int ran = 0;
  post([&] { ++ran; });  // queued while the context lives, not yet run
  context.reset();
  std::thread([&] { post([&] { ++ran; }); }).join();  // posted after it died
  post([&] { ++ran; });
  QTest::qWait(100);
  EXPECT_EQ(ran, 0);
}

TEST(UiPoster, PostingWhileTheContextDiesNeitherCrashesNorRunsLateTasks) {
  for (int round = 0; round < 20; ++round) {
    auto context = std::make_unique<QObject>();
    const langxing::UiPoster post = MakeUiPoster(context.get());
    std::atomic<bool> stop = false;
    std::atomic<int> ranAfterDeath = 0;
    std::atomic<bool> dead = false;
    std::thread worker([&] {
      while (!stop)
        post([&] {
          if (dead) ++ranAfterDeath;
        });
    });
    QTest::qWait(2);
    context.reset();
    dead = true;
    QTest::qWait(5);
    stop = true;
    worker.join();
    QTest::qWait(5);
    EXPECT_EQ(ranAfterDeath, 0);
  }
}

TEST(UiPoster, NullContextOrEmptyTaskIsIgnored) {
  const langxing::UiPoster post = MakeUiPoster(nullptr);
  int ran = 0;
  post([&] { ++ran; });
  QObject context;
  MakeUiPoster (&context)(std::function<void()>());
  QTest::qWait(20);
  EXPECT_EQ(ran, 0);
}

}  // namespace
