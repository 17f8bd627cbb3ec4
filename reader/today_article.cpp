// SPDX-License-Identifier: GPL-3.0-or-later
#include "reader/today_article.hpp"

#include <algorithm>
#include <array>

#include "core/html_charset.hpp"
#include "core/html_element.hpp"
#include "core/text.hpp"

namespace langxing {

namespace {

// Where the current templates keep each part, most common first.
constexpr std::array kBodySelectors = {ElementSelector{"", "article", ""},
                                       ElementSelector{"", "artibody", ""}};
constexpr std::array kTitleSelectors = {ElementSelector{"h1", "", "main-title"},
                                        ElementSelector{"h1", "artibodyTitle", ""}};
constexpr std::array kDateSelectors = {ElementSelector{"", "", "date-source"},
                                       ElementSelector{"", "pub_date", ""},
                                       ElementSelector{"", "", "time-source"}};

// What stands inside an article body but is not the article: ads, app and QR prompts, live
// quotes, and the title and date line, which are written before the body.
FragmentRules ArticleRules() {
  FragmentRules rules;
  rules.droppedIds = {"left_hzh_ad", "artibodyTitle", "pub_date"};
  rules.droppedClasses = {"appendQr_wrap", "app-kaihu-qr", "tech-quotation",
                          "main-title",    "date-source",  "time-source"};
  return rules;
}

bool HasNonAscii(std::string_view bytes) {
  return std::any_of(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) != 0; });
}

// The page as UTF-8 by its own declaration. A page that declares GBK (or nothing, which reads
// as GBK) but whose bytes are all well-formed multi-byte UTF-8 was written in UTF-8: GBK text
// of any length is never valid UTF-8, and reading it as GBK would show only mojibake.
std::string PageAsUtf8(const DownloadedPage& page) {
  if (page.bytes.empty()) return Utf16ToUtf8(page.text);
  if (SniffPageCharset(page.bytes, page.contentType) == Charset::Gbk && HasNonAscii(page.bytes) &&
      IsValidUtf8(page.bytes)) {
    return page.bytes;
  }
  return DecodePageToUtf8(page.bytes, page.contentType);
}

template <std::size_t N>
std::optional<std::string> FirstText(const HtmlPage& html,
                                     const std::array<ElementSelector, N>& selectors) {
  for (const ElementSelector& selector : selectors) {
    if (auto text = html.TextOf(selector); text && !text->empty()) return text;
  }
  return std::nullopt;
}

std::string Escaped(std::string_view text) {
  std::string out;
  for (const char c : text) {
    if (c == '&') {
      out += "&amp;";
    } else if (c == '<') {
      out += "&lt;";
    } else if (c == '>') {
      out += "&gt;";
    } else {
      out.push_back(c);
    }
  }
  return out;
}

}  // namespace

std::u16string TodayArticle(const DownloadedPage& page) {
  const HtmlPage html(PageAsUtf8(page));
  std::optional<std::string> body;
  const FragmentRules rules = ArticleRules();
  for (const ElementSelector& selector : kBodySelectors) {
    body = html.InnerHtmlOf(selector, rules);
    if (body) break;
  }
  if (!body) return {};

  std::string article;
  if (auto title = FirstText(html, kTitleSelectors)) {
    article += "<h1>" + Escaped(*title) + "</h1>";
  }
  if (auto dateLine = FirstText(html, kDateSelectors)) {
    article += "<p class=\"artInfo\">" + Escaped(*dateLine) + "</p>";
  }
  article += *body;
  // Only white space is no article: the failure page says so better than an empty page.
  if (std::all_of(article.begin(), article.end(), [](char c) {
        return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
      })) {
    return {};
  }
  return Utf8ToUtf16(article);
}

}  // namespace langxing
