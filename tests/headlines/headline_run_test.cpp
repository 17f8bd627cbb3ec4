// SPDX-License-Identifier: GPL-3.0-or-later
#include "headlines/headline_run.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <stdexcept>

#include "core/text.hpp"
#include "headlines/publish_time.hpp"

namespace langxing {
namespace {

using Entries = std::vector<std::u16string>;

const std::u16string kListingPage =
    u"<CENTER><TABLE><TBODY><TR bgColor=#eeeeee><TD>标题</TD></TR><TR>" +
    std::u16string(DefaultTitleStartMarker) +
    u"甲</B></TD></TR><TR><TD><SPAN><A href=http://a/1 target=_blank>http://a/1</A>" +
    std::u16string(HeadlineRowSeparator) + u"<TR>" + std::u16string(HeadlineRegionEnd);

const std::string kRollFeed =
    R"({"result":{"status":{"code":0},"data":[)"
    R"({"title":"乙","url":"https://news.sina.com.cn/b","ctime":"1796774400"},)"
    R"({"title":"丙","url":"https://news.sina.com.cn/c"}]}})";

std::u16string ListedCount(std::size_t n) {
  return u"listed " + std::u16string(1, static_cast<char16_t>(u'0' + n));
}

// Every call the run makes, in order: statuses as they are, hooks by name.
struct Recorder {
  std::vector<std::u16string> calls;

  HeadlineRunHooks Hooks() {
    HeadlineRunHooks hooks;
    hooks.setStatus = [this](std::u16string_view text) { calls.emplace_back(text); };
    hooks.started = [this] {
      calls.emplace_back(u"started");
      return true;
    };
    hooks.show = [this](const Entries& entries) {
      for (const auto& entry : entries) calls.push_back(u"show " + entry);
    };
    hooks.showPublished = [this](const PublishTimes& times) {
      for (const auto& time : times)
        calls.push_back(u"published " + (time ? Utf8ToUtf16(std::to_string(*time)) : u"-"));
    };
    hooks.fetched = [this] { calls.emplace_back(u"fetched"); };
    hooks.listed = [this](const Entries& entries) { calls.push_back(ListedCount(entries.size())); };
    return hooks;
  }
};

TEST(HeadlineRun, StatusesHooksAndEntriesInTheirOrder) {
  const std::u16string apology(ApologyLine);
  const std::u16string listed = u"甲;http://a/1 ";
  const Entries fed = {u"乙;url=https://news.sina.com.cn/b", u"丙;url=https://news.sina.com.cn/c"};
  struct Case {
    const char* name;
    std::u16string body;
    std::optional<std::string> feed;
    LoadFailure failure;
    Entries entries;
    std::u16string lastStatus;
  } cases[] = {
      {"listing page", kListingPage, std::nullopt, LoadFailure::kNone, {listed}, u"状态：空闲"},
      {"roll feed (the body is not read)", kListingPage, kRollFeed, LoadFailure::kNone, fed,
       u"状态：空闲"},
      {"page without headlines",
       u"<P>没有表格</P>",
       std::nullopt,
       LoadFailure::kNone,
       {apology},
       u"状态：空闲"},
      {"page that never came",
       u"",
       std::nullopt,
       LoadFailure::kTimedOut,
       {apology},
       u"状态：获取失败（超时）"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Recorder recorder;
    const Entries entries =
        RunHeadlines({[&] { return c.body; }, c.feed, c.failure}, recorder.Hooks());
    EXPECT_EQ(entries, c.entries);
    // Cut entries are shown before the run says it is done; the apology only after `fetched`.
    const bool none = c.entries.front() == apology;
    Entries expected = {u"状态：获取》", u"started", u"状态：获取》》"};
    if (!none)
      for (const auto& entry : c.entries) expected.push_back(u"show " + entry);
    // A feed's entries come with their times (the second item has none).
    if (c.feed) expected.insert(expected.end(), {u"published 1796774400", u"published -"});
    expected.insert(expected.end(), {u"状态：获取完成", u"fetched"});
    if (none) expected.push_back(u"show " + apology);
    expected.insert(expected.end(), {ListedCount(c.entries.size()), c.lastStatus});
    EXPECT_EQ(recorder.calls, expected);
  }
}

TEST(HeadlineRun, StartedAnsweringNoEndsTheRunAfterTheFirstStatus) {
  Recorder recorder;
  HeadlineRunHooks hooks = recorder.Hooks();
  hooks.started = [] { return false; };
  EXPECT_TRUE(RunHeadlines({[] { return kListingPage; }}, hooks).empty());
  EXPECT_EQ(recorder.calls, Entries{u"状态：获取》"});
}

TEST(HeadlineRun, AFailingStepIsSkippedOnlyWhenAskedTo) {
  const LoadedHeadlinePage unreadable{[]() -> std::u16string { throw std::runtime_error("x"); }};
  Recorder recorder;
  HeadlineRunHooks hooks = recorder.Hooks();
  hooks.fetched = [] { throw std::runtime_error("no tab"); };
  hooks.skipFailedSteps = true;
  EXPECT_EQ(RunHeadlines(unreadable, hooks), Entries{std::u16string(ApologyLine)});
  EXPECT_EQ(recorder.calls.back(), u"状态：空闲");

  hooks.skipFailedSteps = false;
  EXPECT_THROW(RunHeadlines(unreadable, hooks), std::runtime_error);
}

// Runs the test body in a time zone of its own, and restores the one before.
class ScopedTimeZone {
 public:
  explicit ScopedTimeZone(const char* zone) {
    if (const char* before = std::getenv("TZ")) before_ = before;
    setenv("TZ", zone, 1);
    tzset();
  }
  ~ScopedTimeZone() {
    if (before_) {
      setenv("TZ", before_->c_str(), 1);
    } else {
      unsetenv("TZ");
    }
    tzset();
  }

 private:
  std::optional<std::string> before_;
};

TEST(PublishedLabel, TimeAloneForTodayDateAndTimeBeforeInLocalTime) {
  constexpr std::int64_t kMorning = 1796774400;            // 2026-12-09 08:00 in Beijing
  constexpr std::int64_t kNow = kMorning + 12 * 3600;      // 20:00 the same day
  constexpr std::int64_t kMidnight = kMorning - 8 * 3600;  // 00:00 the same day
  const struct {
    const char* zone;
    std::int64_t published;
    const char16_t* label;
  } cases[] = {
      {"CST-8", kMorning, u"08:00"},
      {"CST-8", kMidnight, u"00:00"},
      {"CST-8", kMidnight - 1, u"12-08 23:59"},
      {"CST-8", kMorning - 365 * 86400, u"12-09 08:00"},  // a year ago is not today
      {"CST-8", kNow + 86400, u"12-10 20:00"},
      {"UTC0", kMorning, u"00:00"},
      {"UTC0", kMidnight - 1, u"12-08 15:59"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.zone) + " " + std::to_string(c.published));
    const ScopedTimeZone zone(c.zone);
    EXPECT_EQ(PublishedLabel(c.published, kNow), c.label);
  }
}

}  // namespace
}  // namespace langxing
