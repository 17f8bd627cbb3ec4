// SPDX-License-Identifier: GPL-3.0-or-later
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

#include "core/charset.hpp"
#include "reader/render_article.hpp"

namespace {

// A general-news page of about 1 MiB of UTF-16 text between the portal's article markers.
// `imageEvery` paragraphs carry one image with its caption: 1 is a picture gallery, where
// nearly every rewrite has thousands of matches; 8 is closer to an ordinary long article.
std::u16string GeneralNewsPage(int imageEvery) {
  std::u16string page =
      u"<html><head><title>新闻</title></head><body><div>导航</div>"
      u"<!-- 内容列 begin --><h1 id=\"artibodyTitle\">标题</h1>"
      u"<p class=\"artInfo\">2010年05月01日</p>";
  const std::u16string paragraph =
      u"<p>　　新华网北京电 记者从有关部门获悉，今年以来各地经济运行总体平稳，"
      u"<a href=\"http://news.sina.com.cn/c/2010-05-01/123.shtml\">相关报道</a>。</p>\n";
  const std::u16string image =
      u"<div class=\"img_wrapper\"><img src=\"http://i1.sinaimg.cn/dy/pic/a.jpg\" alt=\"\">"
      u"<span class=\"img_descr\">图为现场</span></div>\n";
  for (int i = 0; page.size() * sizeof(char16_t) < (1u << 20); ++i) {
    page += paragraph;
    if (i % imageEvery == 0) page += image;
  }
  page += u"<!-- publish_helper_end --><div>页脚</div></body></html>";
  return page;
}

class PageDownloader : public langxing::Downloader {
 public:
  explicit PageDownloader(std::u16string page) : page_(std::move(page)) {}
  std::u16string DownloadText(std::u16string_view, std::u16string_view) override { return page_; }

 private:
  std::u16string page_;
};

void BM_RenderArticle_GeneralNews1MiB(benchmark::State& state) {
  const std::u16string page = GeneralNewsPage(static_cast<int>(state.range(0)));
  PageDownloader downloader(page);
  const langxing::ReaderSettings settings{0, 0, u"0", 14};  // every option off: all nine rewrites
  const langxing::StatusWriter ignoreStatus = [](std::u16string_view) {};
  const std::size_t bytes = page.size() * sizeof(char16_t);
  for (auto _ : state) {
    std::u16string html = langxing::RenderArticle(u"http://news.sina.com.cn/c/2010-05-01/a.shtml",
                                                  settings, downloader, ignoreStatus);
    benchmark::DoNotOptimize(html);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}
BENCHMARK(BM_RenderArticle_GeneralNews1MiB)->Arg(1)->Arg(8)->Unit(benchmark::kMicrosecond);

// A page in today's template of about 2 MiB of UTF-8, the bytes kept as a download keeps them:
// the classic cut finds nothing, so the page is decoded a second time, parsed and serialised.
// With `bodyElement` another element than #article, neither cut finds the body and the general
// reading scores the page's blocks instead.
std::string TodayPage(const std::string& bodyElement = "<div class=\"article\" id=\"article\">") {
  std::string page =
      "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>新闻</title></head><body>"
      "<h1 class=\"main-title\">标题</h1><div class=\"date-source\">2024年05月10日</div>" +
      bodyElement;
  const std::string paragraph =
      "<p>　　新华社北京电 记者从有关部门获悉，今年以来各地经济运行总体平稳，"
      "<a href=\"//news.sina.com.cn/c/2024-05-10/doc-i1.shtml\">相关报道</a>。</p>\n"
      "<div class=\"img_wrapper\"><img src=\"//n.sinaimg.cn/news/a.jpg\" alt=\"\">"
      "<span class=\"img_descr\">图为现场</span></div><script>var a = 1;</script>\n";
  while (page.size() < (2u << 20)) page += paragraph;
  return page + "</div></body></html>";
}

class BytesDownloader : public langxing::Downloader {
 public:
  explicit BytesDownloader(std::string bytes) : bytes_(std::move(bytes)) {
    text_ = langxing::DecodeBytes(bytes_, u"GB2312").value_or(u"");
  }
  std::u16string DownloadText(std::u16string_view, std::u16string_view) override { return text_; }
  langxing::DownloadedPage DownloadPage(std::u16string_view, std::u16string_view,
                                        const std::atomic<bool>*) override {
    return {text_, bytes_, "text/html", "", langxing::LoadFailure::kNone};
  }

 private:
  std::string bytes_;
  std::u16string text_;
};

void BM_RenderArticle_Today2MiB(benchmark::State& state) {
  const std::string page = TodayPage();
  BytesDownloader downloader(page);
  const langxing::ReaderSettings settings{1, 0, u"0", 14};
  const langxing::StatusWriter ignoreStatus = [](std::u16string_view) {};
  for (auto _ : state) {
    std::u16string html = langxing::RenderArticle(
        u"https://news.sina.com.cn/c/2024-05-10/doc-i2.shtml", settings, downloader, ignoreStatus);
    benchmark::DoNotOptimize(html);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.size()));
}
BENCHMARK(BM_RenderArticle_Today2MiB)->Unit(benchmark::kMillisecond);

// The same page in a template neither cut knows: decoded, parsed, its blocks scored, the best
// one serialised.
void BM_RenderArticle_MainText2MiB(benchmark::State& state) {
  const std::string page = TodayPage("<div class=\"article-body\">");
  BytesDownloader downloader(page);
  const langxing::ReaderSettings settings{1, 0, u"0", 14};
  const langxing::StatusWriter ignoreStatus = [](std::u16string_view) {};
  for (auto _ : state) {
    std::u16string html = langxing::RenderArticle(u"https://k.sina.com.cn/article_1_2.html",
                                                  settings, downloader, ignoreStatus);
    benchmark::DoNotOptimize(html);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.size()));
}
BENCHMARK(BM_RenderArticle_MainText2MiB)->Unit(benchmark::kMillisecond);

// The floor: twelve memchr passes over the same bytes (the download copy, the cut, the wrap,
// nine rewrites), each for a byte that is not there.
void BM_RenderArticleFloor_12xMemchr(benchmark::State& state) {
  const std::u16string page = GeneralNewsPage(8);
  const std::size_t bytes = page.size() * sizeof(char16_t);
  // A byte value the page's storage does not hold, so that every pass runs to the end.
  bool seen[256] = {};
  for (std::size_t i = 0; i < bytes; ++i)
    seen[reinterpret_cast<const unsigned char*>(page.data())[i]] = true;
  int absent = 0;
  while (absent < 255 && seen[absent]) ++absent;
  for (auto _ : state) {
    for (int pass = 0; pass < 12; ++pass) {
      const char16_t* data = page.data();
      benchmark::DoNotOptimize(data);  // keeps the twelve calls from being merged
      const void* hit = std::memchr(data, absent, bytes);
      benchmark::DoNotOptimize(hit);
    }
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}
BENCHMARK(BM_RenderArticleFloor_12xMemchr)->Unit(benchmark::kMicrosecond);

}  // namespace
