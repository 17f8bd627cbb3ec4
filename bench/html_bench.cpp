// SPDX-License-Identifier: GPL-3.0-or-later
#include <benchmark/benchmark.h>
#include <gumbo.h>

#include <string>

#include "core/charset.hpp"
#include "core/html_document.hpp"
#include "core/text.hpp"
#include "headlines/headlines.hpp"
#include "tests/portal/test_portal.hpp"

namespace {

// About 2 MiB of a headline page in the portal's old layout, as GBK bytes.
const std::string& ListingPageGbk() {
  static const std::string page = [] {
    std::string html =
        "<html>\r\n<head>\r\n<meta http-equiv=Content-Type content=\"text/html; charset=gb2312\">"
        "\r\n<title>滚动新闻</title>\r\n</head>\r\n<body>\r\n<center>\r\n\t<table width=750 "
        "border=0 cellspacing=0 cellpadding=0>\r\n\t\t<tr bgcolor=\"#EEEEEE\">\r\n\t\t\t<td "
        "height=25>滚动新闻</td>\r\n\t\t</tr>\r\n";
    std::string gbk;
    for (int i = 0; gbk.size() < 2 * 1024 * 1024; ++i) {
      const std::string n = std::to_string(i);
      html +=
          "\t\t<tr>\r\n\t\t\t<td style=\"padding-left:5px;padding-top:5px\" height=\"30\"><b>"
          "新浪网今日要闻第" +
          n +
          "条：国内外新闻综述</b></td>\r\n\t\t</tr>\r\n\t\t<tr>\r\n"
          "\t\t\t<td><span class=f12><a target=_blank href=http://news.sina.com.cn/c/2008-01-01/" +
          n + ".shtml>http://news.sina.com.cn/c/2008-01-01/" + n +
          ".shtml</a></span></td>\r\n\t\t</tr>\r\n";
      if (i % 1000 == 999) gbk = langxing::testportal::ToGbk(html);
    }
    html +=
        "\t\t<tr>\r\n\t\t\t<td height=20></td>\r\n\t\t</tr>\r\n\t</table>\r\n</center>\r\n"
        "</body>\r\n</html>\r\n";
    return langxing::testportal::ToGbk(html);
  }();
  return page;
}

void BM_BodyTextsOfPage(benchmark::State& state) {
  const std::string& page = ListingPageGbk();
  for (auto _ : state) {
    auto texts = langxing::BodyTextsOfPage(page, "text/html");
    benchmark::DoNotOptimize(texts);
  }
  state.SetBytesProcessed(state.iterations() * page.size());
}
BENCHMARK(BM_BodyTextsOfPage)->Unit(benchmark::kMillisecond);

// The whole road of a headline page: decode, parse, serialise, cut out the entries.
void BM_ListingPageToHeadlines(benchmark::State& state) {
  const std::string& page = ListingPageGbk();
  std::size_t entries = 0;
  for (auto _ : state) {
    const auto texts = langxing::BodyTextsOfPage(page, "text/html");
    const auto headlines =
        langxing::ParseHeadlines(texts.innerHtml, langxing::DefaultTitleStartMarker);
    entries = headlines.size();
    benchmark::DoNotOptimize(headlines);
  }
  state.counters["entries"] = static_cast<double>(entries);
  state.SetBytesProcessed(state.iterations() * page.size());
}
BENCHMARK(BM_ListingPageToHeadlines)->Unit(benchmark::kMillisecond);

// The floor: gumbo's parse of the same page alone, already in UTF-8.
void BM_BodyTextsOfPageFloor_gumboParse(benchmark::State& state) {
  const std::string& page = ListingPageGbk();
  const std::string utf8 = langxing::Utf16ToUtf8(langxing::Decode(page, langxing::Charset::Gbk));
  for (auto _ : state) {
    GumboOutput* output = gumbo_parse(utf8.c_str());
    benchmark::DoNotOptimize(output);
    gumbo_destroy_output(&kGumboDefaultOptions, output);
  }
  state.SetBytesProcessed(state.iterations() * page.size());
}
BENCHMARK(BM_BodyTextsOfPageFloor_gumboParse)->Unit(benchmark::kMillisecond);

}  // namespace
