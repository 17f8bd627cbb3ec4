// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/html_nesting.hpp"

#include <algorithm>
#include <array>
#include <string>

namespace langxing::html {

namespace {

bool IsAlpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\f' || c == '\r'; }
char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Void elements and elements whose end tags the parser implies: they add no lasting depth.
constexpr auto kUncounted = std::to_array<std::string_view>(
    {"area",     "base",  "basefont", "bgsound", "br",     "col",   "embed", "frame",
     "hr",       "image", "img",      "input",   "keygen", "link",  "meta",  "param",
     "source",   "track", "wbr",      "p",       "li",     "dt",    "dd",    "option",
     "optgroup", "tr",    "td",       "th",      "tbody",  "thead", "tfoot", "colgroup",
     "caption",  "rb",    "rp",       "rt",      "rtc",    "html",  "head",  "body"});

// Elements whose content is text up to their end tag.
constexpr auto kRawText = std::to_array<std::string_view>(
    {"script", "style", "textarea", "title", "xmp", "iframe", "noembed", "noframes"});

template <std::size_t N>
bool OneOf(const std::string& name, const std::array<std::string_view, N>& table) {
  return std::find(table.begin(), table.end(), name) != table.end();
}

// Moves past the end of a tag's attributes, honouring quoted values; returns whether the tag
// closed itself with "/>".
bool SkipTagRest(std::string_view s, std::size_t& i) {
  char quote = 0;
  for (; i < s.size(); ++i) {
    const char c = s[i];
    if (quote != 0) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == '>') {
      ++i;
      return s[i - 2] == '/';
    }
  }
  return false;
}

std::string ReadName(std::string_view s, std::size_t& i) {
  std::string name;
  while (i < s.size() && !IsSpace(s[i]) && s[i] != '/' && s[i] != '>')
    name.push_back(Lower(s[i++]));
  return name;
}

// Position after the end tag "</name", ignoring case; the end of input when there is none.
std::size_t SkipRawText(std::string_view s, std::size_t i, const std::string& name) {
  while (true) {
    i = s.find("</", i);
    if (i == std::string_view::npos) return s.size();
    std::size_t k = 0;
    while (k < name.size() && i + 2 + k < s.size() && Lower(s[i + 2 + k]) == name[k]) ++k;
    if (k == name.size()) return i;
    i += 2;
  }
}

}  // namespace

std::size_t ParseableLength(std::string_view s, std::size_t maxDepth) {
  std::size_t depth = 0;
  std::size_t i = 0;
  while (true) {
    i = s.find('<', i);
    if (i == std::string_view::npos || i + 1 >= s.size()) return s.size();
    const std::size_t tagStart = i;
    if (s.substr(i, 4) == "<!--") {
      const std::size_t end = s.find("-->", i + 4);
      if (end == std::string_view::npos) return s.size();
      i = end + 3;
    } else if (s[i + 1] == '/' && i + 2 < s.size() && IsAlpha(s[i + 2])) {
      i += 2;
      const std::string name = ReadName(s, i);
      SkipTagRest(s, i);
      if (!OneOf(name, kUncounted) && depth > 0) --depth;
    } else if (IsAlpha(s[i + 1])) {
      ++i;
      const std::string name = ReadName(s, i);
      const bool selfClosed = SkipTagRest(s, i);
      if (OneOf(name, kRawText)) {
        i = SkipRawText(s, i, name);
      } else if (!selfClosed && !OneOf(name, kUncounted)) {
        if (++depth > maxDepth) return tagStart;
      }
    } else {
      ++i;
    }
  }
}

}  // namespace langxing::html
