// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/portal/sample_portal.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>

#include "core/text.hpp"
#include "headlines/roll_feed.hpp"
#include "headlines/roll_feed_address.hpp"
#include "headlines/roll_feed_page.hpp"
#include "reader/article_address.hpp"
#include "tests/portal/portal_url.hpp"
#include "tests/portal/sample_feeds.hpp"
#include "tests/portal/sample_today_articles.hpp"

namespace langxing::testportal {
namespace {

// The offline demo serves this portal: every channel of the shipped channel files must lead to
// a listing, articles and pictures, or the demo shows failure pages where a reader looks.

// What a listing of the sample portal links to: the article addresses behind "url=", in order.
std::vector<std::string> LinkedArticles(const Page& listing, std::size_t* titleCells) {
  const std::string text = FromGbk(listing.body).value_or("");
  const std::string titleCell = "<td style=\"padding-left:5px;padding-top:5px\" height=\"30\"><b>";
  *titleCells = 0;
  for (std::size_t at = text.find(titleCell); at != std::string::npos;
       at = text.find(titleCell, at + 1))
    ++*titleCells;
  const std::string anchor = "<a target=\"_blank\" href=\"http://go.sina.com.cn/?url=";
  std::vector<std::string> articles;
  for (std::size_t at = text.find(anchor); at != std::string::npos; at = text.find(anchor, at)) {
    at += anchor.size();
    articles.push_back(text.substr(at, text.find('"', at) - at));
  }
  return articles;
}

// Checks every channel's listing, the articles it leads to and the pictures they show.
void ExpectCompleteSample(const std::vector<Channel>& channels) {
  const auto pages = SamplePages(channels);
  for (const Channel& channel : channels) {
    SCOPED_TRACE(channel.address);
    const auto listing = pages.find(NormaliseUrl(channel.address)) != pages.end()
                             ? pages.find(NormaliseUrl(channel.address))
                             : pages.find(channel.address);
    ASSERT_NE(listing, pages.end());
    std::size_t titleCells = 0;
    const auto articles = LinkedArticles(listing->second, &titleCells);
    EXPECT_GE(articles.size(), 20u);
    EXPECT_EQ(titleCells, articles.size());
    std::set<std::string> kinds;
    for (const std::string& address : articles) {
      SCOPED_TRACE(address);
      const auto article = pages.find(address);
      ASSERT_NE(article, pages.end());
      const std::string host = HostOf(address);
      const bool blog = host == "blog.sina.com.cn";
      const std::string text =
          blog ? article->second.body : FromGbk(article->second.body).value_or("");
      if (blog) {
        kinds.insert("blog");
        EXPECT_LT(text.find("<!-- 正文开始 -->"), text.find("<!-- 正文结束 -->"));
        EXPECT_NE(text.find("<!-- 正文结束 -->"), std::string::npos);
        EXPECT_NE(text.find("<title>"), std::string::npos);
      } else if (host == "auto.sina.com.cn") {
        kinds.insert("auto");
        EXPECT_LT(text.find("<h1 id=\"artibodyTitle\""), text.find("<!-- publish_helper_end -->"));
        EXPECT_NE(text.find("<!-- publish_helper_end -->"), std::string::npos);
      } else {
        kinds.insert("news");
        EXPECT_TRUE(host.ends_with(".sina.com.cn"));
        EXPECT_LT(text.find("<!-- 内容列 begin -->"), text.find("<!-- publish_helper_end -->"));
        EXPECT_NE(text.find("<!-- publish_helper_end -->"), std::string::npos);
      }
      EXPECT_EQ(text.find("朗星快报"),
                std::string::npos);  // would make the reader show the raw page
      for (std::size_t at = text.find("<img src=\""); at != std::string::npos;
           at = text.find("<img src=\"", at)) {
        at += 10;
        const std::string picture = text.substr(at, text.find('"', at) - at);
        ASSERT_NE(pages.find(picture), pages.end()) << picture;
        EXPECT_TRUE(pages.at(picture).contentType.starts_with("image/"));
      }
    }
    EXPECT_EQ(kinds.size(), 3u) << "every channel mixes news, auto and blog articles";
  }
  const auto announcement = pages.find("http://blog.sina.com.cn/s/langxing_update.html");
  ASSERT_NE(announcement, pages.end());
  EXPECT_NE(announcement->second.body.find("&lt;beta&gt;1.2&lt;/beta&gt;"), std::string::npos);
}

std::string ShippedChannelFile(const char* name) {
  std::ifstream in(std::string(LANGXING_SOURCE_DIR) + "/data/" + name, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

TEST(SamplePortal, CoversEveryChannelOfTheShippedChannelFile) {
  std::ostringstream bytes;
  bytes << ShippedChannelFile("chan-classic.dll");
  ASSERT_FALSE(bytes.str().empty()) << "data/chan-classic.dll is missing";
  const auto channels = ReadChannels(bytes.str());
  // Count the channel lines independently of the reader: lines holding "--http://".
  const std::string text = FromGbk(bytes.str()).value_or(bytes.str());
  std::size_t expected = 0;
  for (std::size_t at = text.find("--http://"); at != std::string::npos;
       at = text.find("--http://", at + 1))
    ++expected;
  if (expected == 0) GTEST_SKIP() << "data/chan-classic.dll names no channel yet";
  EXPECT_EQ(channels.size(), expected);
  ExpectCompleteSample(channels);
}

TEST(SamplePortal, TodaysChannelsGetTheirFeedBesideTheClassicListings) {
  // The sample reads both files as one, the classic lines first.
  const std::string today = ShippedChannelFile("chan.dll");
  const auto channels = ReadChannels(ShippedChannelFile("chan-classic.dll") + today);
  const auto pages = SamplePages(channels);
  std::size_t feeds = 0;
  std::set<std::string> articles;
  for (const Channel& channel : channels) {
    SCOPED_TRACE(channel.address);
    auto request = RollFeedRequestOf(Utf8ToUtf16(channel.address));
    if (!request) {
      const auto page = pages.find(channel.address);
      ASSERT_NE(page, pages.end());
      // A page of today's portal may name its feed itself; a classic listing names none.
      request = RollFeedRequestOfPage(Utf8ToUtf16(channel.address), page->second.body);
      if (!request) continue;
      EXPECT_EQ(page->second.contentType, "text/html; charset=utf-8");
    }
    ++feeds;
    const auto feed = pages.find(Utf16ToUtf8(request->feedUrl));
    ASSERT_NE(feed, pages.end());
    EXPECT_EQ(feed->second.contentType, "application/json; charset=utf-8");
    const auto entries = RollFeedEntries(feed->second.body);
    ASSERT_EQ(entries.size(), static_cast<std::size_t>(kSampleFeedItems));
    const std::string host = channel.category == "财经新闻"   ? "finance.sina.com.cn"
                             : channel.category == "科技新闻" ? "tech.sina.com.cn"
                                                              : "news.sina.com.cn";
    for (const std::u16string& entry : entries) {
      const std::string url = Utf16ToUtf8(*ArticleUrlOfItem(entry));
      EXPECT_TRUE(url.starts_with("https://" + host + "/c/2026-12-09/doc-i")) << url;
      EXPECT_TRUE(url.ends_with(".shtml")) << url;
      // The article tells the headline that opened it.
      const auto article = pages.find(url);
      ASSERT_NE(article, pages.end()) << url;
      const std::string title = Utf16ToUtf8(entry.substr(0, entry.find(u';')));
      EXPECT_NE(article->second.body.find(">" + title + "</h1>"), std::string::npos) << url;
      articles.insert(url);
    }
  }
  EXPECT_EQ(feeds, ReadChannels(today).size());
  EXPECT_EQ(articles.size(), feeds * kSampleFeedItems) << "every item its own article";
}

}  // namespace
}  // namespace langxing::testportal
