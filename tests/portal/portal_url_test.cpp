// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/portal/portal_url.hpp"

#include <gtest/gtest.h>

namespace langxing::testportal {
namespace {

TEST(PortalUrl, NormalisesSchemeHostPortAndEmptyPath) {
  const struct {
    const char* url;
    const char* normalised;
  } cases[] = {
      {"http://news.sina.com.cn/a.shtml", "http://news.sina.com.cn/a.shtml"},
      {"HTTP://News.Sina.COM.cn/A.shtml",
       "http://news.sina.com.cn/A.shtml"},  // path keeps its case
      {"http://news.sina.com.cn", "http://news.sina.com.cn/"},
      {"http://news.sina.com.cn?x=1", "http://news.sina.com.cn/?x=1"},
      {"http://news.sina.com.cn:80/a", "http://news.sina.com.cn/a"},
      {"http://news.sina.com.cn:8080/a", "http://news.sina.com.cn:8080/a"},
      {"http://news.sina.com.cn/a#top", "http://news.sina.com.cn/a"},
      {"http://go.sina.com.cn/?url=http://x.cn/b", "http://go.sina.com.cn/?url=http://x.cn/b"},
  };
  for (const auto& c : cases) EXPECT_EQ(NormaliseUrl(c.url), c.normalised) << c.url;
}

TEST(PortalUrl, LookupAlsoTriesTheAddressWithoutTrailingBlanks) {
  EXPECT_EQ(LookupKeys("http://a.cn/x"), std::vector<std::string>{"http://a.cn/x"});
  EXPECT_EQ(LookupKeys("http://a.cn/x%20"),
            (std::vector<std::string>{"http://a.cn/x%20", "http://a.cn/x"}));
  EXPECT_EQ(LookupKeys("http://a.cn/x %20 "),
            (std::vector<std::string>{"http://a.cn/x %20 ", "http://a.cn/x"}));
}

TEST(PortalUrl, RequestTargetBecomesAnAbsoluteAddress) {
  EXPECT_EQ(AbsoluteUrlOf("http://news.sina.com.cn/a", "ignored"), "http://news.sina.com.cn/a");
  EXPECT_EQ(AbsoluteUrlOf("/a?b=1", "news.sina.com.cn"), "http://news.sina.com.cn/a?b=1");
  EXPECT_EQ(AbsoluteUrlOf("a", "news.sina.com.cn:80"), "http://news.sina.com.cn:80/a");
}

TEST(PortalUrl, RedirectTargetOnlyOnTheRedirectHost) {
  const char* host = "go.sina.com.cn";
  EXPECT_EQ(RedirectTarget("http://go.sina.com.cn/?url=http://news.sina.com.cn/a", host),
            "http://news.sina.com.cn/a");
  EXPECT_EQ(RedirectTarget("http://go.sina.com.cn/?from=x&url=http://b.cn/?url=c", host),
            "http://b.cn/?url=c");
  EXPECT_EQ(RedirectTarget("http://news.sina.com.cn/?url=http://b.cn/", host), std::nullopt);
  EXPECT_EQ(RedirectTarget("http://go.sina.com.cn/url=http://b.cn/", host),
            std::nullopt);  // not in a query
  EXPECT_EQ(RedirectTarget("http://go.sina.com.cn/?url=javascript:alert(1)", host), std::nullopt);
}

TEST(PortalUrl, HostOfDropsPortAndUser) {
  EXPECT_EQ(HostOf("http://user@News.sina.com.cn:81/x"), "news.sina.com.cn");
  EXPECT_EQ(HostOf("/relative"), "");
}

}  // namespace
}  // namespace langxing::testportal
