// SPDX-License-Identifier: GPL-3.0-or-later
#include "reader/article_address.hpp"

#include <gtest/gtest.h>

namespace langxing {
namespace {

TEST(ArticleAddress, OfHeadlineItems) {
  struct Case {
    std::u16string_view item;
    std::optional<std::u16string> url;
  } cases[] = {
      {u"标题;\"http://r.sina.com.cn/go?url=http://news.sina.com.cn/a.shtml\" ",
       u"http://news.sina.com.cn/a.shtml "},  // the blank after the address stays
      {u"T;http://r/?url=http://a/?url=b", u"http://a/?url=b"},  // the first "url=" counts
      {u"T;http://r/?url=", u""},
      {u"url=;x", u";x"},  // "url=" in the title counts as well
      {u"T;http://news.sina.com.cn/a.shtml ", u"http://news.sina.com.cn/a.shtml"},
      {u"T; \"http://a/b\" ", u"http://a/b"},
      {u"T;x;y", u"x;y"},
      {u"T;", std::nullopt},
      {u"T;  \"\" ", std::nullopt},
      {u"抱歉！目前暂没发现新的消息", std::nullopt},
      {u"", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(ArticleUrlOfItem(c.item), c.url);
}

}  // namespace
}  // namespace langxing
