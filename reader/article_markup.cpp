// SPDX-License-Identifier: GPL-3.0-or-later
#include "reader/article_markup.hpp"

#include <algorithm>

#include "core/text.hpp"

namespace langxing {

std::string EscapedText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
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

std::string EscapedAttribute(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    if (c == '&') {
      out += "&amp;";
    } else if (c == '"') {
      out += "&quot;";
    } else if (c == '<') {
      out += "&lt;";
    } else {
      out.push_back(c);
    }
  }
  return out;
}

std::string AbsoluteWebAddress(std::string_view address) {
  const auto startsWith = [address](std::string_view prefix) {
    if (address.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
      const char c = address[i];
      if ((c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c) != prefix[i]) return false;
    }
    return true;
  };
  if (address.starts_with("//")) return "https:" + std::string(address);
  if (startsWith("https://") || startsWith("http://")) return std::string(address);
  return {};
}

std::string CollapsedSpace(std::string_view text) {
  std::string out;
  bool pendingSpace = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const bool nbsp = c == '\xC2' && i + 1 < text.size() && text[i + 1] == '\xA0';
    if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || nbsp) {
      pendingSpace = true;
      if (nbsp) ++i;
      continue;
    }
    if (pendingSpace && !out.empty()) out.push_back(' ');
    pendingSpace = false;
    out.push_back(c);
  }
  return out;
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
  const auto isBlank = [](std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](char c) {
      return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
    });
  };
  if (isBlank(head) && isBlank(body)) return {};
  std::string article(head);
  article += body;
  return Utf8ToUtf16(article);
}

}  // namespace langxing
