// SPDX-License-Identifier: GPL-3.0-or-later
// The window against the local portal for long runs with failing responses mixed in: channels
// for every kind of listing response, short network limits so a stalled answer fails in seconds
// rather than half a minute, a timer whose ticks show the event loop still turns, and the
// process's resident memory.
#pragma once

#include <QElapsedTimer>
#include <QListWidget>
#include <QTimer>
#include <cstdlib>
#include <fstream>
#include <string>

#include "app/ui_poster.hpp"
#include "core/downloader.hpp"
#include "core/page_loader.hpp"
#include "tests/support/form1_access.hpp"
#include "tests/support/news_window_harness.hpp"

namespace faults {

using newswindow::U16;

// Network limits for the run: a stalled response fails after three seconds.
inline langxing::NetworkLimits ShortLimits() {
  langxing::NetworkLimits limits;
  limits.connectTimeout = std::chrono::milliseconds(2000);
  limits.totalTimeout = std::chrono::milliseconds(3000);
  return limits;
}

// How a channel's listing is answered, and what the list must hold once its run has ended.
// Failed: the page never came, and the list says why in one line.
enum class Listing { Normal, Utf8, Apology, Failed };

struct Channel {
  const char* name;  // the node under 新闻中心
  const char* url;
  Listing listing;
  bool costly;                    // takes seconds to answer (or to fail)
  const char* failure = nullptr;  // the list's line when the listing is Failed
};

inline const std::vector<Channel>& Channels() {
  static const std::vector<Channel> channels = {
      {"国内新闻", "http://news.sina.com.cn/china/index_list.shtml", Listing::Normal, false},
      {"社会", "http://news.sina.com.cn/society/index_list.shtml", Listing::Utf8, false},
      {"逐行", "http://news.sina.com.cn/spaced/index_list.shtml", Listing::Normal, false},
      {"无表格", "http://news.sina.com.cn/notable/index.shtml", Listing::Apology, false},
      {"已删除", "http://news.sina.com.cn/missing/index_list.shtml", Listing::Apology, false},
      {"慢速", "http://news.sina.com.cn/slow/index_list.shtml", Listing::Normal, true},
      {"无应答", "http://news.sina.com.cn/stall/index_list.shtml", Listing::Failed, true,
       "获取失败：超时"},
      {"超大", "http://news.sina.com.cn/oversized/index_list.shtml", Listing::Failed, false,
       "获取失败：页面过大"},
      {"断开", "http://news.sina.com.cn/close/index_list.shtml", Listing::Failed, false,
       "获取失败"},
      {"乱码", "http://news.sina.com.cn/garbage/index_list.shtml", Listing::Apology, false},
  };
  return channels;
}

inline std::vector<std::string> ChannelLines() {
  std::vector<std::string> lines;
  for (const Channel& c : Channels())
    lines.push_back(std::string("新闻中心_") + c.name + "--" + c.url);
  return lines;
}

// What the list holds once the channel's run has ended.
inline std::vector<std::u16string> EntriesOf(const Channel& channel) {
  switch (channel.listing) {
    case Listing::Normal:
      return newswindow::NormalListingEntries();
    case Listing::Utf8:
      return newswindow::Utf8ListingEntries();
    case Listing::Failed:
      return {newswindow::U16(channel.failure)};
    case Listing::Apology:
      break;
  }
  return {newswindow::Apology};
}

inline bool HasHeadlines(const Channel& channel) {
  return channel.listing == Listing::Normal || channel.listing == Listing::Utf8;
}

// The resident memory of this process in KiB (VmRSS), 0 when it cannot be read.
inline long ResidentKiB() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmRSS:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
  return 0;
}

// A count from the environment, or `fallback` when unset or not a positive number.
inline int CountFromEnvironment(const char* name, int fallback) {
  const char* text = std::getenv(name);
  if (text == nullptr) return fallback;
  const long value = std::strtol(text, nullptr, 10);
  return value > 0 && value < 1'000'000 ? static_cast<int>(value) : fallback;
}

class FaultWindowTest : public newswindow::NewsWindowTest {
 protected:
  FaultWindowTest() : NewsWindowTest(ChannelLines()) {
    // Slow: two seconds. Garbage: bytes that are neither GBK nor a page.
    langxing::testportal::Page slow = *portal.PageFor(Channels()[5].url);
    slow.delay = std::chrono::milliseconds(2000);
    portal.SetPage(Channels()[5].url, slow);
    std::string garbage(64 * 1024, '\0');
    std::mt19937 bytes(7);
    for (char& c : garbage) c = static_cast<char>(bytes());
    portal.SetPage(Channels()[9].url, langxing::testportal::Page{.body = garbage});

    // The same headline view the window makes, with limits that fail a stall in seconds.
    Form1Access::LimitHeadlineView(form, ShortLimits());
    form.SetDownloader(&downloader);

    QObject::connect(&ticker, &QTimer::timeout, [this] {
      const qint64 now = sinceStart.elapsed();
      longestTickGapMs = std::max(longestTickGapMs, now - lastTickMs);
      lastTickMs = now;
      ++ticks;
    });
    sinceStart.start();
    ticker.start(5);
  }

  ~FaultWindowTest() override { form.SetDownloader(nullptr); }

  QTreeWidgetItem* ChannelNode(const Channel& c) { return Node({"朗星快报", "新闻中心", c.name}); }

  // True when the event loop runs the ticker at least once more within two seconds.
  bool LoopTurns() {
    const long before = ticks;
    return QTest::qWaitFor([&] { return ticks > before; }, 2000);
  }

  int CompletedRuns() const {
    int count = 0;
    for (const auto& [panel, text] : writes) count += panel == 4 && text == U16("状态：获取》");
    return count;
  }

  langxing::CurlDownloader downloader{ShortLimits()};
  QTimer ticker;
  QElapsedTimer sinceStart;
  long ticks = 0;
  qint64 lastTickMs = 0;
  qint64 longestTickGapMs = 0;
};

}  // namespace faults
