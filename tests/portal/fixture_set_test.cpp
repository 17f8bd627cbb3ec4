// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/portal/fixture_set.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/portal/generated_pages.hpp"
#include "tests/portal/normal_listing.hpp"

namespace langxing::testportal {
namespace {

namespace fs = std::filesystem;

class ManifestTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() / ("portal_manifest_" + std::to_string(::getpid()));
    fs::create_directories(folder_);
    std::ofstream(folder_ / "page.html", std::ios::binary) << "<p>新闻</p>\r\n";
  }
  void TearDown() override { fs::remove_all(folder_); }
  fs::path folder_;
};

TEST_F(ManifestTest, ReadsEachOption) {
  const auto pages = ParseManifest(
      "# comment\n"
      "\n"
      "http://a.cn/gbk page.html\n"
      "http://a.cn/utf8 page.html enc=utf-8 type=text/html;charset=utf-8 status=201\n"
      "http://a.cn/slow - delay=250 behaviour=stall\n"
      "http://a.cn/pic @image.png behaviour=close\n",
      folder_);
  ASSERT_EQ(pages.size(), 4u);
  EXPECT_EQ(pages.at("http://a.cn/gbk").body, "<p>\xD0\xC2\xCE\xC5</p>\r\n");
  EXPECT_EQ(pages.at("http://a.cn/gbk").contentType, "text/html");
  EXPECT_EQ(pages.at("http://a.cn/gbk").status, 200);
  EXPECT_EQ(pages.at("http://a.cn/utf8").body, "<p>新闻</p>\r\n");
  EXPECT_EQ(pages.at("http://a.cn/utf8").contentType, "text/html;charset=utf-8");
  EXPECT_EQ(pages.at("http://a.cn/utf8").status, 201);
  EXPECT_EQ(pages.at("http://a.cn/slow").body, "");
  EXPECT_EQ(pages.at("http://a.cn/slow").delay, std::chrono::milliseconds(250));
  EXPECT_EQ(pages.at("http://a.cn/slow").behaviour, Page::Behaviour::Stall);
  EXPECT_EQ(pages.at("http://a.cn/pic").contentType, "image/png");
  EXPECT_EQ(pages.at("http://a.cn/pic").behaviour, Page::Behaviour::Close);
}

TEST_F(ManifestTest, RejectsMalformedLinesNamingTheLine) {
  const char* bad[] = {
      "http://a.cn/x",                          // no file
      "http://a.cn/x missing.html",             // file not there
      "http://a.cn/x page.html enc=big5",       // unknown encoding
      "http://a.cn/x page.html colour=red",     // unknown key
      "http://a.cn/x page.html behaviour=odd",  // unknown behaviour
      "http://a.cn/x page.html status",         // not key=value
      "http://a.cn/x @nothing",                 // no such generated page
  };
  for (const char* line : bad) {
    try {
      ParseManifest(std::string("# first\n") + line + "\n", folder_);
      ADD_FAILURE() << "accepted: " << line;
    } catch (const std::runtime_error& error) {
      EXPECT_NE(std::string(error.what()).find("line 2"), std::string::npos) << error.what();
    }
  }
}

// The (title, address) pairs of a listing in the old layout, read straight from its markup:
// each bold title cell paired with the next anchor, written as the scraper's entries.
std::vector<std::string> EntriesOf(const std::string& html) {
  const std::string titleCell = "<td style=\"padding-left:5px;padding-top:5px\" height=\"30\">";
  const std::string anchor = "<a target=\"_blank\" href=\"";
  std::vector<std::string> entries;
  for (std::size_t at = html.find(titleCell); at != std::string::npos;
       at = html.find(titleCell, at)) {
    const std::size_t bold = html.find("<b>", at) + 3;
    const std::size_t boldEnd = html.find("</b>", bold);
    const std::size_t href = html.find(anchor, boldEnd) + anchor.size();
    const std::size_t hrefEnd = html.find('"', href);
    entries.push_back(html.substr(bold, boldEnd - bold) + ";\"" +
                      html.substr(href, hrefEnd - href) + "\" ");
    at = hrefEnd;
  }
  return entries;
}

std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(FixtureSet, ListingsHoldTheEntriesTheReadmePromises) {
  const fs::path root = DefaultFixtureRoot();
  const std::string readme = ReadText(root / "README.md");
  const auto pages = LoadFixtureSet(root);
  const struct {
    const char* url;
    bool gbk;
    std::size_t count;
    const std::vector<std::string>* exact;
  } cases[] = {
      {"http://news.sina.com.cn/china/index_list.shtml", true, 7, &kNormalListingEntries},
      {"http://news.sina.com.cn/spaced/index_list.shtml", true, 7, &kNormalListingEntries},
      {"http://news.sina.com.cn/society/index_list.shtml", false, 5, nullptr},
      {"http://news.sina.com.cn/photo/index_list.shtml", true, 3, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.url);
    const std::string& body = pages.at(c.url).body;
    const std::string text = c.gbk ? FromGbk(body).value_or("") : body;
    ASSERT_FALSE(text.empty());
    const auto entries = EntriesOf(text);
    EXPECT_EQ(entries.size(), c.count);
    if (c.exact) {
      EXPECT_EQ(entries, *c.exact);
    }
    for (const std::string& entry : entries) {
      EXPECT_NE(readme.find("⟨" + entry + "⟩"), std::string::npos) << entry;
    }
    const std::size_t open = text.find("<tr bgcolor=\"#EEEEEE\">");
    ASSERT_NE(open, std::string::npos);
    EXPECT_LT(open, text.find("padding-top:5px"));
  }
}

TEST(FixtureSet, GeneratedPagesHaveTheirPromisedSize) {
  const auto huge = GeneratedPage("@huge_listing");
  ASSERT_TRUE(huge.has_value());
  const auto entries = EntriesOf(FromGbk(huge->body).value_or(""));
  ASSERT_EQ(entries.size(), static_cast<std::size_t>(kHugeListingRows));
  EXPECT_EQ(entries.front(), "海量新闻第1条;\"http://news.sina.com.cn/huge/1.shtml\" ");
  EXPECT_EQ(entries.back(), "海量新闻第10000条;\"http://news.sina.com.cn/huge/10000.shtml\" ");

  const auto big = GeneratedPage("@big_article");
  ASSERT_TRUE(big.has_value());
  EXPECT_GE(big->body.size(), kBigArticleBytes);
  const std::string text = FromGbk(big->body).value_or("");
  EXPECT_LT(text.find("<!-- 内容列 begin -->"), text.find("<!-- publish_helper_end -->"));
  EXPECT_NE(text.find("<!-- publish_helper_end -->"), std::string::npos);
}

TEST(FixtureSet, EveryPageIsServedInItsDeclaredEncoding) {
  // GBK pages must not pass as UTF-8 when they hold Chinese text, and UTF-8 pages must.
  const auto pages = LoadFixtureSet(DefaultFixtureRoot());
  const std::string gbkNews = "\xD0\xC2\xC0\xCB";  // "新浪" in GBK
  EXPECT_NE(pages.at("http://news.sina.com.cn/c/2010-05-01/083020191234.shtml").body.find(gbkNews),
            std::string::npos);
  EXPECT_NE(pages.at("http://auto.sina.com.cn/news/2010-05-01/0812581234.shtml").body.find(gbkNews),
            std::string::npos);
  EXPECT_NE(pages.at("http://blog.sina.com.cn/s/blog_4b0f52990100i7xz.html").body.find("新浪博客"),
            std::string::npos);
  EXPECT_NE(pages.at("http://blog.sina.com.cn/s/langxing_update.html")
                .body.find("&lt;beta&gt;1.2&lt;/beta&gt;"),
            std::string::npos);
}

}  // namespace
}  // namespace langxing::testportal
