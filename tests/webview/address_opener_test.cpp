// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/address_opener.hpp"

#include <gtest/gtest.h>

#include <QUrl>
#include <string>
#include <vector>

namespace {

struct OpenCase {
  std::u16string address;
  bool opened;
};

TEST(DesktopAddressOpener, OpensOnlyAbsoluteWebAddresses) {
  const std::vector<OpenCase> cases = {
      {u"http://blog.sina.com.cn/s/download.html", true},
      {u"https://news.sina.com.cn/c/2009-03-07/084817360000.shtml?from=a&to=b#top", true},
      {u"HTTP://example.com/", true},
      {u"http://127.0.0.1:8080/x", true},
      {u"http://example.com/新闻/下载", true},
      {u"", false},
      {u"example.com/download", false},
      {u"/s/download.html", false},
      {u"ftp://example.com/file", false},
      {u"file:///etc/passwd", false},
      {u"javascript:alert(1)", false},
      {u"http://", false},
      {u"http:///path", false},
      {u"http://example.com/a b", false},
      {u"http://example.com/ & calc.exe", false},
      {u"http://example.com/&exit\r\nrm -rf ~", false},
      {u"http://example.com/\"; touch /tmp/x", false},
      {u"http://example.com/$(touch /tmp/x)|`id`", false},
      {u" http://example.com/", false},
  };
  for (const OpenCase& c : cases) {
    std::vector<QUrl> launched;
    DesktopAddressOpener opener([&](const QUrl& url) {
      launched.push_back(url);
      return true;
    });
    const std::string shown(c.address.begin(), c.address.end());
    EXPECT_EQ(opener.Open(c.address), c.opened) << shown;
    EXPECT_EQ(launched.size(), c.opened ? 1u : 0u) << shown;
    if (c.opened && !launched.empty()) {
      // The browser receives the very address that was judged.
      EXPECT_EQ(launched[0], QUrl(QString::fromStdU16String(c.address))) << shown;
      EXPECT_TRUE(launched[0].scheme() == "http" || launched[0].scheme() == "https") << shown;
    }
  }
}

TEST(DesktopAddressOpener, ReportsWhetherTheDesktopTookTheAddress) {
  DesktopAddressOpener refusing([](const QUrl&) { return false; });
  EXPECT_FALSE(refusing.Open(u"http://example.com/"));
}

}  // namespace
