// SPDX-License-Identifier: GPL-3.0-or-later
#include "headlines/roll_feed_address.hpp"

#include <gtest/gtest.h>

#include <string>

#include "core/text.hpp"
#include "headlines/roll_feed_page.hpp"

namespace langxing {
namespace {

TEST(RollFeedAddress, ChannelAddressesGiveTheFeedAndItsReferer) {
  struct Case {
    const char16_t* address;
    const char16_t* feedUrl;  // nullptr: a classic address
    const char16_t* referer;
  } cases[] = {
      {u"https://news.sina.com.cn/roll/#pageid=153&lid=2510&k=&num=50&page=1",
       u"https://feed.mix.sina.com.cn/api/roll/get?pageid=153&lid=2510&k=&num=50&page=1",
       u"https://news.sina.com.cn/"},
      {u"https://finance.sina.com.cn/roll/#pageid=384&lid=2519",
       u"https://feed.mix.sina.com.cn/api/roll/get?pageid=384&lid=2519&k=&num=50&page=1",
       u"https://finance.sina.com.cn/"},
      {u"  HTTPS://Tech.Sina.com.cn/roll/rollnews.shtml#pageid=372&lid=2431&num=20&page=3  ",
       u"https://feed.mix.sina.com.cn/api/roll/get?pageid=372&lid=2431&k=&num=20&page=3",
       u"https://tech.sina.com.cn/"},
      {u"http://news.sina.com.cn:8080/roll/?x=1#lid=2509&pageid=153&num=abc&page=0",
       u"http://feed.mix.sina.com.cn/api/roll/get?pageid=153&lid=2509&k=&num=50&page=1",
       u"http://news.sina.com.cn:8080/"},
      {u"https://feed.mix.sina.com.cn/api/roll/get?pageid=153&lid=2510&k=&num=50&page=1&r=0.123",
       u"https://feed.mix.sina.com.cn/api/roll/get?pageid=153&lid=2510&k=&num=50&page=1",
       u"https://news.sina.com.cn/"},
      {u"http://feed.mix.sina.com.cn/api/roll/get?callback=cb&lid=2669&pageid=153&page=2",
       u"http://feed.mix.sina.com.cn/api/roll/get?pageid=153&lid=2669&k=&num=50&page=2",
       u"https://news.sina.com.cn/"},
      // Classic addresses, and ones that only look like a roll page.
      {u"http://roll.news.sina.com.cn/s/channel.php?ch=01", nullptr, nullptr},
      {u"http://roll.news.sina.com.cn/s/channel.php?pageid=153&lid=2510", nullptr, nullptr},
      {u"https://news.sina.com.cn/roll/#pageid=153", nullptr, nullptr},
      {u"https://news.sina.com.cn/roll/#pageid=153&lid=25x0", nullptr, nullptr},
      {u"https://news.sina.com.cn/roll/#pageid=153&lid=", nullptr, nullptr},
      {u"https://news.sina.com.cn/roll/#xpageid=153&lid=2510", nullptr, nullptr},
      {u"https://news.example.org/roll/#pageid=153&lid=2510", nullptr, nullptr},
      {u"https://notsina.com.cn/roll/#pageid=153&lid=2510", nullptr, nullptr},
      {u"https://user@news.sina.com.cn/roll/#pageid=153&lid=2510", nullptr, nullptr},
      {u"ftp://news.sina.com.cn/roll/#pageid=153&lid=2510", nullptr, nullptr},
      {u"https://feed.mix.sina.com.cn/api/roll/other?pageid=153&lid=2510", nullptr, nullptr},
      {u"https://feed.mix.sina.com.cn/api/roll/get", nullptr, nullptr},
      {u"news.sina.com.cn/roll/#pageid=153&lid=2510", nullptr, nullptr},
      {u"", nullptr, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Utf16ToUtf8(c.address));
    const auto request = RollFeedRequestOf(c.address);
    if (c.feedUrl == nullptr) {
      EXPECT_FALSE(request.has_value());
      continue;
    }
    ASSERT_TRUE(request.has_value());
    EXPECT_EQ(request->feedUrl, c.feedUrl);
    EXPECT_EQ(request->referer, c.referer);
  }
}

// Pages that name their feed on the page, in each shape today's portal writes it, and pages
// that only look as if they did.
TEST(RollFeedAddress, APageNamesItsFeedInItsConfigOrItsChannelList) {
  const std::u16string china = u"https://news.sina.com.cn/china/";
  const std::string script = "<script>var feedCardConfig = {\n  pageid: 121,\n  num: 20,\n";
  struct Case {
    const char* name;
    std::u16string address;
    std::string page;
    const char16_t* feedUrl;  // nullptr: the page names no feed
    const char16_t* referer;
  } cases[] = {
      {"inline config", china,
       script + "  firstTab: {\n    name: \"最新\",\n    lid: 1356\n  }\n};</script>",
       u"https://feed.mix.sina.com.cn/api/roll/get?pageid=121&lid=1356&k=&num=50&page=1",
       u"https://news.sina.com.cn/china/"},
      {"quoted keys and numbers, the page's fragment left out of the Referer",
       u"http://news.sina.com.cn/china/#top",
       R"(<script>cfg = {"pageid":"121","firstTab":{"lid" : "1356"}}</script>)",
       u"http://feed.mix.sina.com.cn/api/roll/get?pageid=121&lid=1356&k=&num=50&page=1",
       u"http://news.sina.com.cn/china/"},
      {"the first tab's own lid, not a nested one or a later tab's", china,
       script + "  firstTab: { name: \"a}{b\", tabs: [{ lid: 1 }], sub: { lid: 2 }, lid: 3 },\n"
                "  secondTab: { lid: 4 }\n};</script>",
       u"https://feed.mix.sina.com.cn/api/roll/get?pageid=121&lid=3&k=&num=50&page=1",
       china.c_str()},
      {"channel list, first anchor with both attributes", u"https://ent.sina.com.cn/rollnews.shtml",
       "<div class=\"nav\"><a pageid=\"1\" s_id=\"1\">外</a></div><div id=\"channelList\">"
       "<a href=\"javascript:;\" pageid=\"382\">全部</a><a href=\"javascript:;\" pageid=\"382\" "
       "s_id=\"2990\" class=\"on\">娱乐</a><a pageid=\"382\" s_id=\"2991\">明星</a></div>",
       u"https://feed.mix.sina.com.cn/api/roll/get?pageid=382&lid=2990&k=&num=50&page=1",
       u"https://ent.sina.com.cn/rollnews.shtml"},
      {"a config without a first tab", china, script + "  lid: 1356\n};</script>", nullptr,
       nullptr},
      {"a lid only in a tab nested in the first", china,
       script + "  firstTab: { tabs: [{ lid: 1356 }] }\n};</script>", nullptr, nullptr},
      {"keys that only end in the names", china,
       "<script>x = { xpageid: 121, firstTab: { valid: 1356 } };</script>", nullptr, nullptr},
      {"numbers no feed takes", china,
       "<script>x = { pageid: 0121, firstTab: { lid: 1234567890 } };</script>", nullptr, nullptr},
      {"roll links in the page are no config", china,
       "<a href=\"/roll/#pageid=153&lid=2510\">滚动</a><div id=\"channelList\"></div>", nullptr,
       nullptr},
      {"a page outside the portal", u"https://www.example.org/china/",
       script + "  firstTab: { lid: 1356 }\n};</script>", nullptr, nullptr},
      {"a page naming nothing", china, "<html><body><p>国内新闻</p></body></html>", nullptr,
       nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto request = RollFeedRequestOfPage(c.address, c.page);
    if (c.feedUrl == nullptr) {
      EXPECT_FALSE(request.has_value()) << Utf16ToUtf8(request ? request->feedUrl : u"");
      continue;
    }
    ASSERT_TRUE(request.has_value());
    EXPECT_EQ(request->feedUrl, c.feedUrl);
    EXPECT_EQ(request->referer, c.referer);
  }
}

}  // namespace
}  // namespace langxing
