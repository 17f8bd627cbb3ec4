// SPDX-License-Identifier: GPL-3.0-or-later
// The announcement fixtures as the update check reads them: served bytes -> the hidden view's
// body text -> the block and its tags. Each variant must really hold the quirk it stands for;
// one that lost it would let the window's test of that variant pass on another path.
#include <gtest/gtest.h>

#include "core/html_document.hpp"
#include "core/text.hpp"
#include "tests/portal/fixture_set.hpp"

namespace langxing::testportal {
namespace {

TEST(FixturePages, AnnouncementsCarryTheDocumentedBlock) {
  const std::map<std::string, Page> pages = LoadFixtureSet(DefaultFixtureRoot());
  const auto innerText = [&](const std::string& url) {
    const Page& page = pages.at(url);
    return BodyTextsOfPage(page.body, page.contentType).innerText;
  };
  const struct {
    const char* url;
    bool hasBlock;
    const char16_t* beta;  // trimmed, as the update check reads it
  } cases[] = {
      {"http://blog.sina.com.cn/s/langxing_update.html", true, u"1.2"},
      {"http://blog.sina.com.cn/s/langxing_update_newer.html", true, u"1.3"},
      {"http://blog.sina.com.cn/s/langxing_update_spaced.html", true, u"1.2"},
      {"http://blog.sina.com.cn/s/langxing_update_1_20.html", true, u"1.20"},
      {"http://blog.sina.com.cn/s/langxing_update_linebreak.html", true, u"1.2\r\n"},
      {"http://blog.sina.com.cn/s/langxing_update_unclosed.html", true, u""},
      {"http://blog.sina.com.cn/s/langxing_update_beta_outside.html", true, u""},
      {"http://blog.sina.com.cn/s/langxing_update_no_block.html", false, u""},
      {"http://blog.sina.com.cn/s/langxing_update_hostile.html", true, u"1.3"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.url);
    const std::u16string text = innerText(c.url);
    EXPECT_EQ(Contains(text, u"<new>"), c.hasBlock);
    const std::u16string block = TrimSpaces(ExtractBetween(text, u"<new>", u"</new>"));
    EXPECT_EQ(TrimSpaces(ExtractBetween(block, u"<beta>", u"</beta>")), c.beta);
  }
  // The window checks that this address is never handed on; it must be there to refuse.
  const std::u16string hostile =
      innerText("http://blog.sina.com.cn/s/langxing_update_hostile.html");
  EXPECT_EQ(ExtractBetween(hostile, u"<newdown>", u"</newdown>"), u"x & rm -rf ~");
}

}  // namespace
}  // namespace langxing::testportal
