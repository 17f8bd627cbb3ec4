// SPDX-License-Identifier: GPL-3.0-or-later
#include "headlines/headline_run.hpp"

#include <gtest/gtest.h>

#include <stdexcept>

namespace langxing {
namespace {

using Entries = std::vector<std::u16string>;

const std::u16string kListingPage =
    u"<CENTER><TABLE><TBODY><TR bgColor=#eeeeee><TD>标题</TD></TR><TR>" +
    std::u16string(DefaultTitleStartMarker) +
    u"甲</B></TD></TR><TR><TD><SPAN><A href=http://a/1 target=_blank>http://a/1</A>" +
    std::u16string(HeadlineRowSeparator) + u"<TR>" + std::u16string(HeadlineRegionEnd);

const std::string kRollFeed =
    R"({"result":{"status":{"code":0},"data":[{"title":"乙","url":"https://news.sina.com.cn/b"}]}})";

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
    hooks.fetched = [this] { calls.emplace_back(u"fetched"); };
    hooks.listed = [this](const Entries& entries) { calls.push_back(ListedCount(entries.size())); };
    return hooks;
  }
};

TEST(HeadlineRun, StatusesHooksAndEntriesInTheirOrder) {
  const std::u16string apology(ApologyLine);
  const std::u16string listed = u"甲;http://a/1 ";
  const std::u16string fed = u"乙;url=https://news.sina.com.cn/b";
  struct Case {
    const char* name;
    std::u16string body;
    std::optional<std::string> feed;
    LoadFailure failure;
    Entries entries;
    std::u16string lastStatus;
  } cases[] = {
      {"listing page", kListingPage, std::nullopt, LoadFailure::kNone, {listed}, u"状态：空闲"},
      {"roll feed (the body is not read)",
       kListingPage,
       kRollFeed,
       LoadFailure::kNone,
       {fed},
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
    if (!none) expected.push_back(u"show " + c.entries.front());
    expected.insert(expected.end(), {u"状态：获取完成", u"fetched"});
    if (none) expected.push_back(u"show " + apology);
    expected.insert(expected.end(), {ListedCount(1), c.lastStatus});
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

}  // namespace
}  // namespace langxing
