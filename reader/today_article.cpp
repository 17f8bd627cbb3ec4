// SPDX-License-Identifier: GPL-3.0-or-later
#include "reader/today_article.hpp"

#include <array>

#include "reader/article_markup.hpp"
#include "reader/page_utf8.hpp"

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

template <std::size_t N>
std::optional<std::string> FirstText(const HtmlPage& html,
                                     const std::array<ElementSelector, N>& selectors) {
  for (const ElementSelector& selector : selectors) {
    if (auto text = html.TextOf(selector); text && !text->empty()) return text;
  }
  return std::nullopt;
}

}  // namespace

std::u16string TodayArticle(const DownloadedPage& page) {
  return TodayArticle(HtmlPage(PageAsUtf8(page)));
}

std::u16string TodayArticle(const HtmlPage& html) {
  std::optional<std::string> body;
  const FragmentRules rules = ArticleRules();
  for (const ElementSelector& selector : kBodySelectors) {
    body = html.InnerHtmlOf(selector, rules);
    if (body) break;
  }
  if (!body) return {};

  return FinishedArticle(
      ArticleHead(FirstText(html, kTitleSelectors), FirstText(html, kDateSelectors)), *body);
}

}  // namespace langxing
