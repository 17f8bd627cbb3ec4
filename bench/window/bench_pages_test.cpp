// SPDX-License-Identifier: GPL-3.0-or-later
// The window benchmark's pages must be what it claims to measure: listings whose every headline
// the program reads, articles the reader cuts out rather than its failure page, and reader pages
// for the floor that hold the article. A page that quietly turned into an apology line or a
// failure page would make every figure meaningless.
#include "bench/window/bench_pages.hpp"

#include <gtest/gtest.h>

#include "core/html_document.hpp"
#include "core/text.hpp"
#include "headlines/headlines.hpp"
#include "reader/article_address.hpp"

namespace windowbench {
namespace {

constexpr std::size_t KB = 1000;
constexpr std::size_t MiB = 1024 * 1024;

TEST(BenchPagesTest, ListingsHaveTheirSizeAndEveryHeadlineReadsBack) {
  for (const std::size_t bytes : {60 * KB, 2 * MiB}) {
    SCOPED_TRACE(bytes);
    int count = 0;
    const langxing::testportal::Page page = ListingOfSize(bytes, &count);
    EXPECT_GE(page.body.size(), bytes);
    EXPECT_LE(page.body.size(), bytes + bytes / 50);
    const auto entries =
        langxing::ParseHeadlines(langxing::BodyTextsOfPage(page.body, page.contentType).innerHtml,
                                 langxing::DefaultTitleStartMarker);
    ASSERT_EQ(static_cast<int>(entries.size()), count);
    for (const int n : {1, count}) {
      const auto address = langxing::ArticleUrlOfItem(entries[static_cast<std::size_t>(n - 1)]);
      ASSERT_TRUE(address.has_value());
      EXPECT_EQ(langxing::Utf16ToUtf8(langxing::TrimSpaces(*address)),
                ArticleAddress(std::to_string(n)));
    }
  }
}

TEST(BenchPagesTest, ArticlesAndTheirReaderPagesHoldTheArticle) {
  langxing::testportal::TestPortal portal{std::filesystem::path{}};
  langxing::testportal::ScopedProxy proxy(portal);
  portal.SetPage(PictureAddress, PicturePage());
  for (const std::size_t bytes : {20 * KB, 100 * KB, 1 * MiB}) {
    SCOPED_TRACE(bytes);
    const std::string address = ArticleAddress("test-" + std::to_string(bytes));
    const langxing::testportal::Page article = ArticleOfSize(bytes, 7);
    EXPECT_GE(article.body.size(), bytes);
    EXPECT_LE(article.body.size(), bytes + bytes / 50 + 2 * KB);
    portal.SetPage(address, article);

    const langxing::testportal::Page reader = ReaderPage(address, langxing::ReaderSettings{});
    ASSERT_TRUE(reader.body.starts_with("\xEF\xBB\xBF"));
    EXPECT_EQ(reader.body.find("本文获取失败"), std::string::npos);
    EXPECT_NE(reader.body.find("记者7"), std::string::npos);
    EXPECT_NE(reader.body.find("<base href=\"" + address + "\">"), std::string::npos);
    EXPECT_NE(reader.body.find(PictureAddress), std::string::npos);
  }
}

}  // namespace
}  // namespace windowbench
