// SPDX-License-Identifier: GPL-3.0-or-later
#include "reader/article_markup.hpp"

#include "core/ascii.hpp"
#include "core/text.hpp"

namespace langxing {

std::string Escaped(std::string_view text, char delimiter) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    if (c == '&') {
      out += "&amp;";
    } else if (c == '<') {
      out += "&lt;";
    } else if (c == delimiter && c == '>') {
      out += "&gt;";
    } else if (c == delimiter && c == '"') {
      out += "&quot;";
    } else {
      out.push_back(c);
    }
  }
  return out;
}

std::string AbsoluteWebAddress(std::string_view address) {
  if (address.starts_with("//")) return "https:" + std::string(address);
  if (ascii::StartsWithIgnoringCase(address, "https://") ||
      ascii::StartsWithIgnoringCase(address, "http://"))
    return std::string(address);
  return {};
}

std::string ArticleHead(const std::optional<std::string>& title,
                        const std::optional<std::string>& dateLine) {
  std::string head;
  if (title && !title->empty()) head += "<h1>" + EscapedText(*title) + "</h1>";
  if (dateLine && !dateLine->empty()) {
    head += "<p class=\"artInfo\">" + EscapedText(*dateLine) + "</p>";
  }
  return head;
}

std::u16string FinishedArticle(std::string_view head, std::string_view body) {
  if (ascii::IsAllSpace(head) && ascii::IsAllSpace(body)) return {};
  std::string article(head);
  article += body;
  return Utf8ToUtf16(article);
}

}  // namespace langxing
