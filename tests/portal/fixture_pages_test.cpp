// SPDX-License-Identifier: GPL-3.0-or-later
// The fixture pages as the program sees them: served bytes -> the hidden view's body texts ->
// the listing markers and announcement tags. Checks that what README.md promises holds.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "core/html_document.hpp"
#include "core/text.hpp"
#include "tests/portal/fixture_set.hpp"

namespace langxing::testportal {
namespace {

class FixturePages : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    pages_ = new std::map<std::string, Page>(LoadFixtureSet(DefaultFixtureRoot()));
  }
  static void TearDownTestSuite() { delete pages_; }

  static BodyTexts BodyOf(const std::string& url) {
    const Page& page = pages_->at(url);
    return BodyTextsOfPage(page.body, page.contentType);
  }

  // The headline entries the listing scraper cuts from a body's inner HTML.
  static std::vector<std::string> EntriesOf(const std::string& url) {
    const std::u16string region =
        ExtractBetween(BodyOf(url).innerHtml, u"<TR bgColor=#eeeeee>",
                       u"<TD height=20></TD></TR></TBODY></TABLE></CENTER>");
    std::vector<std::string> entries;
    for (const std::u16string& piece : SplitAll(region, u"</SPAN></TD></TR>")) {
      const std::u16string entry =
          ExtractBetween(piece, u"<TD style=\"PADDING-LEFT: 5px; PADDING-TOP: 5px\" height=30><B>",
                         u"</B></TD></TR>") +
          u";" + ExtractBetween(piece, u"<A href=", u"target=_blank>http");
      if (entry != u";") entries.push_back(Utf16ToUtf8(entry));
    }
    return entries;
  }

  static std::string Readme() {
    std::ifstream in(DefaultFixtureRoot() / "README.md", std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }

  static std::map<std::string, Page>* pages_;
};

std::map<std::string, Page>* FixturePages::pages_ = nullptr;

TEST_F(FixturePages, ListingsYieldTheDocumentedEntries) {
  const std::string readme = Readme();
  const struct {
    const char* url;
    std::size_t count;
  } cases[] = {
      {"http://news.sina.com.cn/china/index_list.shtml", 7},
      {"http://news.sina.com.cn/spaced/index_list.shtml", 7},
      {"http://news.sina.com.cn/roll/index_list.shtml", 6},
      {"http://news.sina.com.cn/society/index_list.shtml", 5},
      {"http://news.sina.com.cn/photo/index_list.shtml", 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.url);
    const auto entries = EntriesOf(c.url);
    EXPECT_EQ(entries.size(), c.count);
    for (const std::string& entry : entries) {
      EXPECT_NE(readme.find("⟨" + entry + "⟩"), std::string::npos) << "not in README.md: " << entry;
    }
  }
  EXPECT_EQ(EntriesOf("http://news.sina.com.cn/spaced/index_list.shtml"),
            EntriesOf("http://news.sina.com.cn/china/index_list.shtml"));
}

TEST_F(FixturePages, PagesWithoutTheTableYieldNoEntries) {
  for (const char* url : {"http://news.sina.com.cn/notable/index.shtml",
                          "http://news.sina.com.cn/missing/index_list.shtml",
                          "http://news.sina.com.cn/frames/index.shtml"}) {
    EXPECT_TRUE(EntriesOf(url).empty()) << url;
  }
}

TEST_F(FixturePages, HugeListingYieldsEveryRow) {
  const auto entries = EntriesOf("http://news.sina.com.cn/huge/index_list.shtml");
  ASSERT_EQ(entries.size(), 10'000u);
  EXPECT_EQ(entries[4'999], "海量新闻第5000条;\"http://news.sina.com.cn/huge/5000.shtml\" ");
}

TEST_F(FixturePages, AnnouncementsCarryTheDocumentedBlock) {
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
    const std::u16string text = BodyOf(c.url).innerText;
    EXPECT_EQ(Contains(text, u"<new>"), c.hasBlock);
    const std::u16string block = TrimSpaces(ExtractBetween(text, u"<new>", u"</new>"));
    EXPECT_EQ(TrimSpaces(ExtractBetween(block, u"<beta>", u"</beta>")), c.beta);
  }
  const std::u16string hostile =
      BodyOf("http://blog.sina.com.cn/s/langxing_update_hostile.html").innerText;
  EXPECT_EQ(ExtractBetween(hostile, u"<newdown>", u"</newdown>"), u"x & rm -rf ~");
  const std::u16string current = BodyOf("http://blog.sina.com.cn/s/langxing_update.html").innerText;
  EXPECT_EQ(ExtractBetween(current, u"<newMsg>", u"</newMsg>"), u"朗星快报1.2正式发布，欢迎使用");
}

}  // namespace
}  // namespace langxing::testportal
