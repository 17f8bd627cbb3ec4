// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/written_page.hpp"

#include <gtest/gtest.h>

#include <QString>
#include <vector>

namespace {

struct BaseCase {
  const char* name;
  QString html;
  QString base;
  QString expected;
};

TEST(WithBaseAddress, PutsTheArticleAddressAheadOfEverythingThePageHolds) {
  const QString a = QStringLiteral("http://news.sina.com.cn/c/2009/a.shtml");
  const QString tag = QStringLiteral("<base href=\"http://news.sina.com.cn/c/2009/a.shtml\">");
  const std::vector<BaseCase> cases = {
      {"reader page without head", QStringLiteral("<body style='x'>文</body><br />"), a,
       tag + QStringLiteral("<body style='x'>文</body><br />")},
      {"before the html and head tags, which the parser then merges",
       QStringLiteral("<html><head><title>t</title></head><body></body></html>"), a,
       tag + QStringLiteral("<html><head><title>t</title></head><body></body></html>")},
      {"after a leading doctype, keeping standards mode", QStringLiteral("\n<!DOCTYPE html><p>x"),
       a, QStringLiteral("\n<!DOCTYPE html>") + tag + QStringLiteral("<p>x")},
      {"before the page's own base, which then counts for nothing",
       QStringLiteral("<head><BASE href='http://evil.test/'></head>"), a,
       tag + QStringLiteral("<head><BASE href='http://evil.test/'></head>")},
      {"before a base that comes ahead of the head",
       QStringLiteral("<!doctype html><base href=//evil.test/><html><head>"), a,
       QStringLiteral("<!doctype html>") + tag +
           QStringLiteral("<base href=//evil.test/><html><head>")},
      {"no address", QStringLiteral("<p>x</p>"), QString(), QStringLiteral("<p>x</p>")},
      {"relative address", QStringLiteral("<p>x</p>"), QStringLiteral("a/b.html"),
       QStringLiteral("<p>x</p>")},
      {"quote in the address cannot leave the attribute", QStringLiteral("<p>x</p>"),
       QStringLiteral("http://h/a\"><script>alert(1)</script>&b"),
       QStringLiteral(
           "<base href=\"http://h/a&quot;>&lt;script>alert(1)&lt;/script>&amp;b\"><p>x</p>")},
  };
  for (const BaseCase& c : cases) EXPECT_EQ(WithBaseAddress(c.html, c.base), c.expected) << c.name;
}

TEST(WrittenPageHandler, OnlyTheLatestPageIsServed) {
  WrittenPageHandler handler;
  const QUrl first = handler.Store(QStringLiteral("<p>1</p>"));
  const QUrl second = handler.Store(QStringLiteral("<p>2</p>"));
  EXPECT_NE(first, second);
  EXPECT_EQ(second.scheme(), QString::fromLatin1(WrittenPageScheme));
  EXPECT_FALSE(handler.IsLatest(first));
  EXPECT_TRUE(handler.IsLatest(second));
  EXPECT_TRUE(handler.IsLatest(QUrl(second.toString() + QStringLiteral("#section"))));
  EXPECT_FALSE(handler.IsLatest(QUrl(QStringLiteral("http://news.sina.com.cn/"))));
}

}  // namespace
