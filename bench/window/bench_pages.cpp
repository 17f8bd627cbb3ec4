// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/window/bench_pages.hpp"

#include <QString>

#include "app/written_page.hpp"
#include "core/downloader.hpp"
#include "core/text.hpp"
#include "tests/portal/images.hpp"

namespace windowbench {

using langxing::testportal::Headline;
using langxing::testportal::Page;

std::string ArticleAddress(const std::string& name) {
  return "http://news.sina.com.cn/c/bench/" + name + ".shtml";
}

Page ListingOf(const std::vector<Headline>& headlines) {
  return Page{.body = langxing::testportal::ToGbk(
                  langxing::testportal::ListingMarkup("基准滚动新闻", headlines))};
}

Page ListingOfSize(std::size_t minBytes, int* count) {
  std::vector<Headline> headlines;
  Page page;
  // Each headline adds the same number of bytes, give or take its number's digits: estimate
  // from a small listing, then add rows until the page is big enough.
  int rows = 16;
  for (;;) {
    while (static_cast<int>(headlines.size()) < rows) {
      const std::string n = std::to_string(headlines.size() + 1);
      headlines.push_back({"基准测试新闻第" + n + "条：各地经济运行总体平稳", ArticleAddress(n)});
    }
    page = ListingOf(headlines);
    if (page.body.size() >= minBytes) break;
    const double perRow = static_cast<double>(page.body.size()) / rows;
    rows += std::max(1, static_cast<int>((minBytes - page.body.size()) / perRow) + 1);
  }
  if (count != nullptr) *count = rows;
  return page;
}

Page ArticleOfSize(std::size_t minBytes, int seed) {
  langxing::testportal::Article article;
  const std::string n = std::to_string(seed);
  article.title = "基准文章第" + n + "篇：全国各地新闻汇总";
  article.source = "新华网";
  article.published = "2010年05月01日08:30";
  article.imageCaption = "资料图片";
  const std::string paragraph =
      "　　新华网北京电（记者" + n +
      "）今年以来全国各地经济运行平稳，城乡居民收入稳步增长，各项社会事业全面发展，"
      "人民群众生活水平不断提高。";
  // A picture every eighth paragraph, as in a long report.
  const auto pageWith = [&](std::size_t paragraphs) {
    article.paragraphs.assign(paragraphs, paragraph);
    article.images.clear();
    for (std::size_t i = 0; i < paragraphs; i += 8) article.images.push_back(PictureAddress);
    return Page{.body = langxing::testportal::ToGbk(NewsArticleMarkup(article))};
  };
  // Every eight paragraphs add the same bytes: measure them, then top up to the size asked for.
  const std::size_t base = pageWith(8).body.size();
  const double perParagraph = (pageWith(16).body.size() - base) / 8.0;
  std::size_t count = 8;
  if (minBytes > base) count += static_cast<std::size_t>((minBytes - base) / perParagraph);
  Page page = pageWith(count);
  while (page.body.size() < minBytes) page = pageWith(++count);
  return page;
}

Page TodayArticleOfSize(std::size_t minBytes, int seed) {
  const std::string n = std::to_string(seed);
  const std::string head =
      "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>基准文章第" + n +
      "篇|新浪网</title><script>var ads = [];</script></head><body>"
      "<div class=\"top-bar\">新浪首页 新闻 体育 财经</div><div class=\"main-content\">"
      "<h1 class=\"main-title\">基准文章第" +
      n +
      "篇：全国各地新闻汇总</h1>"
      "<div class=\"date-source\"><span class=\"date\">2026年01月01日 08:30</span>"
      "<a class=\"source\">新华社</a></div><div class=\"article\" id=\"article\">";
  const std::string paragraph =
      "<p>　　新华社北京电（记者" + n +
      "）今年以来全国各地经济运行平稳，城乡居民收入稳步增长，各项社会事业全面发展，"
      "人民群众生活水平不断提高。</p>";
  const std::string eighth = "<div class=\"img_wrapper\"><img src=\"" +
                             std::string(PictureAddress) +
                             "\"><span class=\"img_descr\">资料图片</span></div>"
                             "<div class=\"appendQr_wrap\">扫码</div><script>show()</script>";
  const std::string tail =
      "<div id=\"left_hzh_ad\">广告</div></div></div><div class=\"footer\">新浪公司</div>"
      "</body></html>";
  std::string body = head;
  for (int i = 0; body.size() + tail.size() < minBytes; ++i) {
    body += paragraph;
    if (i % 8 == 0) body += eighth;
  }
  return Page{.body = body + tail};
}

Page PicturePage() {
  return Page{.body = langxing::testportal::SolidPng(200, 150, {0x87, 0xCE, 0xEB}),
              .contentType = "image/png"};
}

namespace {

// The window writes a page whose colour text is still "0" (none chosen yet) without a
// background colour of its own, so that it shows on the view's white.
std::u16string WithoutUnchosenColour(std::u16string html) {
  constexpr std::u16string_view opening = u"<body style='background-color: 0;";
  if (html.starts_with(opening)) html.replace(0, opening.size(), u"<body style='");
  return html;
}

}  // namespace

Page ReaderPage(const std::string& articleAddress, const langxing::ReaderSettings& settings) {
  langxing::CurlDownloader downloader;
  const std::u16string url = langxing::Utf8ToUtf16(articleAddress);
  const std::u16string html = WithoutUnchosenColour(
      langxing::RenderArticle(url, settings, downloader, [](std::u16string_view) {}));
  const QString page =
      WithBaseAddress(QString::fromStdU16String(html), QString::fromStdU16String(url));
  return Page{.body = "\xEF\xBB\xBF" + page.toUtf8().toStdString(),
              .contentType = "text/html;charset=utf-8"};
}

}  // namespace windowbench
