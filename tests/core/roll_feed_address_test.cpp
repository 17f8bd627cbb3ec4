// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/roll_feed_address.hpp"

#include <gtest/gtest.h>

#include "core/text.hpp"

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

}  // namespace
}  // namespace langxing
