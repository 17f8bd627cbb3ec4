// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/portal/sample_today_articles.hpp"

#include <array>
#include <cstdint>
#include <string_view>

#include "tests/portal/images.hpp"
#include "tests/portal/page_markup.hpp"
#include "tests/portal/portal_url.hpp"

namespace langxing::testportal {
namespace {

constexpr std::string_view kPictureBase = "//n.sinaimg.cn/sample/today/pic";
constexpr int kPictureCount = 6;

constexpr std::array<std::string_view, 8> kSubjects{"新能源汽车", "城市更新", "数字经济",
                                                    "乡村振兴",   "人工智能", "跨境电商",
                                                    "航天工程",   "绿色金融"};
constexpr std::array<std::string_view, 8> kEvents{"迎来新进展", "发布年度报告", "持续升温",
                                                  "获政策支持", "亮相博览会",   "引发热议",
                                                  "跑出加速度", "开启新篇章"};
constexpr std::array<std::string_view, 6> kSources{"新华社",   "人民网",   "中国新闻网",
                                                   "央视新闻", "经济日报", "科技日报"};

// FNV-1a: the same address gives the same article on every run.
std::uint32_t HashOf(std::string_view text) {
  std::uint32_t hash = 2166136261u;
  for (const char c : text) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 16777619u;
  }
  return hash;
}

// "news", "finance" or "tech" when `url` is a today's article address of the sample.
std::optional<std::string> SectionOf(const std::string& url) {
  if (!url.starts_with("https://")) return std::nullopt;
  const std::string host = HostOf(url);
  std::string section;
  for (const char* known : {"news", "finance", "tech"}) {
    if (host == std::string(known) + ".sina.com.cn") section = known;
  }
  if (section.empty()) return std::nullopt;
  const std::size_t doc = url.rfind("/doc-i");
  if (doc == std::string::npos || !url.ends_with(".shtml")) return std::nullopt;
  const std::string_view token = std::string_view(url).substr(
      doc + 6, url.size() - doc - 6 - std::string_view(".shtml").size());
  if (token.empty()) return std::nullopt;
  for (const char c : token) {
    const bool alnum = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    if (!alnum) return std::nullopt;
  }
  return section;
}

std::string Picture(std::uint32_t seed) {
  return std::string(kPictureBase) + std::to_string(seed % kPictureCount) + ".jpg";
}

// What the article body carries besides the article: the generator must leave none of it.
std::string Clutter(const std::string& section) {
  std::string clutter =
      "<script type=\"text/javascript\">var sinaads = window.sinaads || [];</script>"
      "<style>.appendQr_wrap{display:block}</style>"
      "<div id=\"left_hzh_ad\"><a href=\"//sina.com.cn/ad\">广告</a></div>";
  if (section == "finance") clutter += "<div class=\"app-kaihu-qr\">扫码下载新浪财经APP开户</div>";
  if (section == "tech") clutter += "<div class=\"tech-quotation\">行情 +1.23%</div>";
  return clutter;
}

}  // namespace

std::optional<Page> SampleTodayArticle(const std::string& absoluteUrl) {
  const std::uint32_t seed = HashOf(absoluteUrl);
  const std::string subject(kSubjects[seed % kSubjects.size()]);
  const std::string event(kEvents[(seed / 8) % kEvents.size()]);
  return SampleTodayArticle(absoluteUrl, {subject, subject + event,
                                          std::string(kSources[(seed / 64) % kSources.size()])});
}

std::optional<Page> SampleTodayArticle(const std::string& absoluteUrl,
                                       const TodayHeadline& headline) {
  const auto section = SectionOf(absoluteUrl);
  if (!section) return std::nullopt;
  const std::uint32_t seed = HashOf(absoluteUrl);
  const std::string& subject = headline.subject;
  const std::string& source = headline.source;
  const std::string& title = headline.title;
  const int month = 1 + static_cast<int>((seed / 512) % 12);
  const int day = 1 + static_cast<int>((seed / 8192) % 28);
  const std::string date = "2026年" + std::to_string(month) + "月" + std::to_string(day) + "日 " +
                           std::to_string(8 + seed % 12) + ":" + std::to_string(10 + seed % 50);

  std::string body;
  body += "<p>　　" + title + "。记者近日从有关方面获悉，" + subject +
          "相关工作正在有序推进，受到社会各界广泛关注。</p>";
  body += "<div class=\"img_wrapper\"><img src=\"" + Picture(seed) + "\" alt=\"" + subject +
          "\"><span class=\"img_descr\">" + subject + "（资料图）</span></div>";
  body += "<p>　　据介绍，" + subject +
          "近年来发展迅速。相关负责人表示，将继续听取各方意见，确保各项工作落到实处。</p>";
  body += Clutter(*section);
  body += "<p>　　业内人士分析认为，" + title +
          "并非偶然，这与长期以来的持续投入密不可分，预计今后一段时间仍将保持良好势头。</p>";
  if (seed % 2 == 0) {
    // A lazy picture: the placeholder stands in src, the picture in data-src.
    body += "<p><img src=\"//n.sinaimg.cn/sample/today/blank.gif\" data-src=\"" +
            Picture(seed / 3 + 1) + "\" alt=\"\"></p>";
  }
  body += "<p>　　对此，不少网友留言表示支持，也有网友提出了自己的建议。本网将持续关注。</p>";
  body += "<div class=\"appendQr_wrap\"><p>扫描二维码关注新浪新闻</p></div>";

  const bool olderTemplate = *section == "tech";
  std::string header;
  if (olderTemplate) {
    header = "<h1 id=\"artibodyTitle\">" + EscapeText(title) +
             "</h1>"
             "<div class=\"page-info\"><span class=\"time-source\" id=\"pub_date\">" +
             date + " <span class=\"source\">" + source + "</span></span></div>";
  } else {
    header = "<h1 class=\"main-title\">" + EscapeText(title) +
             "</h1>"
             "<div class=\"date-source\"><span class=\"date\">" +
             date + "</span><a class=\"source\" href=\"//news.sina.com.cn/\">" + source +
             "</a></div>";
  }
  const std::string articleElement = *section == "news" ? "<div class=\"article\" id=\"article\">"
                                                        : "<div class=\"article\" id=\"artibody\">";

  Page page;
  page.contentType = "text/html; charset=utf-8";
  page.body =
      "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>" + EscapeText(title) +
      "|新浪网</title><meta property=\"article:published_time\" "
      "content=\"2026-01-01T08:00:00+08:00\">"
      "<link rel=\"stylesheet\" href=\"//n.sinaimg.cn/sample/today/main.css\"></head><body>"
      "<div class=\"top-bar-wrap\"><a href=\"//www.sina.com.cn/\">新浪首页</a> 新闻 体育 财经</div>"
      "<div class=\"main-content w1240\">" +
      header + articleElement + "<!-- 正文 start -->" + body + "<!-- 正文 end --></div>" +
      "<div class=\"article-bottom\"><ul><li>相关新闻一</li><li>相关新闻二</li></ul></div></div>"
      "<div class=\"footer\">新浪公司 版权所有</div></body></html>";
  return page;
}

std::map<std::string, Page> SampleTodayPictures() {
  constexpr std::array<Rgb, kPictureCount> kColours{{{70, 130, 180},
                                                     {205, 92, 92},
                                                     {60, 179, 113},
                                                     {218, 165, 32},
                                                     {123, 104, 238},
                                                     {72, 209, 204}}};
  std::map<std::string, Page> pictures;
  for (int i = 0; i < kPictureCount; ++i) {
    pictures["https:" + Picture(static_cast<std::uint32_t>(i))] =
        Page{.body = SolidPng(480, 270, kColours[static_cast<std::size_t>(i)]),
             .contentType = "image/png"};
  }
  pictures["https://n.sinaimg.cn/sample/today/blank.gif"] =
      Page{.body = SolidGif(1, 1, {255, 255, 255}), .contentType = "image/gif"};
  return pictures;
}

}  // namespace langxing::testportal
