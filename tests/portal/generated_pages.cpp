// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/portal/generated_pages.hpp"

#include "tests/portal/images.hpp"
#include "tests/portal/page_markup.hpp"

namespace langxing::testportal {
namespace {

Page HugeListing() {
  std::vector<Headline> headlines;
  headlines.reserve(kHugeListingRows);
  for (int n = 1; n <= kHugeListingRows; ++n) {
    const std::string number = std::to_string(n);
    headlines.push_back(
        {"海量新闻第" + number + "条", "http://news.sina.com.cn/huge/" + number + ".shtml"});
  }
  return Page{.body = ToGbk(ListingMarkup("海量滚动新闻", headlines))};
}

Page BigArticle() {
  Article article;
  article.title = "超长文章测试：全国各地新闻汇总";
  article.source = "新浪网";
  article.published = "2010年05月01日08:30";
  article.images = {"http://i1.sinaimg.cn/dy/2010/0501/big_article.jpg"};
  article.imageCaption = "资料图片";
  const std::string paragraph =
      "据本台记者报道，今年以来全国各地经济运行平稳，城乡居民收入稳步增长，"
      "各项社会事业全面发展，人民群众生活水平不断提高。";
  // Each paragraph is about 140 GBK bytes; add enough for the page to pass the target size.
  const std::size_t count = kBigArticleBytes / (paragraph.size() * 2 / 3) + 10;
  article.paragraphs.assign(count, paragraph);
  return Page{.body = ToGbk(NewsArticleMarkup(article))};
}

}  // namespace

std::optional<Page> GeneratedPage(std::string_view name) {
  // Made once per process: every portal a test starts serves the same bytes.
  static const Page huge = HugeListing();
  static const Page big = BigArticle();
  if (name == "@huge_listing") return huge;
  if (name == "@big_article") return big;
  constexpr Rgb kSkyBlue{0x87, 0xCE, 0xEB};
  if (name == "@image.png")
    return Page{.body = SolidPng(64, 48, kSkyBlue), .contentType = "image/png"};
  if (name == "@image.gif")
    return Page{.body = SolidGif(64, 48, kSkyBlue), .contentType = "image/gif"};
  if (name == "@image.bmp")
    return Page{.body = SolidBmp(64, 48, kSkyBlue), .contentType = "image/bmp"};
  return std::nullopt;
}

}  // namespace langxing::testportal
