// SPDX-License-Identifier: GPL-3.0-or-later
#include "reader/clutter_names.hpp"

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "core/ascii.hpp"

namespace langxing {

namespace {

// Matched anywhere inside a name's word: long enough to mean nothing else.
constexpr std::array<std::string_view, 18> kClutterParts = {
    "nav",        "footer",    "share",   "recommend", "related", "comment",
    "sidebar",    "banner",    "toolbar", "login",     "qrcode",  "advert",
    "breadcrumb", "copyright", "list",    "sinaads",   "popup",   "rank"};
// Matched as a whole word only ("ad" is also in "head", "hot" in "photo").
constexpr std::array<std::string_view, 11> kClutterWords = {
    "ad", "ads", "adv", "foot", "top", "menu", "tags", "tag", "qr", "side", "feed"};
// Matched as the start of a word ("hotnews", "hot_list").
constexpr std::array<std::string_view, 1> kClutterStarts = {"hot"};

constexpr std::array<std::string_view, 11> kArticleParts = {
    "article", "artibody", "content", "main", "text", "body",
    "post",    "detail",   "story",   "art_", "txt"};

bool IsWordChar(char c) { return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'); }

// The element's class and id names in lower case, split into words at every other character
// ("left_hzh_ad" gives left, hzh, ad).
std::vector<std::string> NameWords(const HtmlElement& element) {
  std::vector<std::string> words;
  for (const char* attribute : {"class", "id"}) {
    std::string word;
    for (const char c : element.Attribute(attribute)) {
      const char lower = ascii::Lower(c);
      if (IsWordChar(lower)) {
        word.push_back(lower);
      } else if (!word.empty()) {
        words.push_back(std::move(word));
        word.clear();
      }
    }
    if (!word.empty()) words.push_back(std::move(word));
  }
  return words;
}

// The lower-case class and id, whole, for the parts that span a separator ("art_").
std::string LowerNames(const HtmlElement& element) {
  std::string names;
  for (const char* attribute : {"class", "id"}) {
    for (const char c : element.Attribute(attribute)) names.push_back(ascii::Lower(c));
    names.push_back(' ');
  }
  return names;
}

}  // namespace

bool IsNamedAsClutter(const HtmlElement& element) {
  const std::string tag = element.Name();
  if (tag == "nav" || tag == "aside" || tag == "footer") return true;
  if (element.HasAttribute("sax-type")) return true;
  for (const std::string& word : NameWords(element)) {
    for (const std::string_view part : kClutterParts) {
      if (word.find(part) != std::string::npos) return true;
    }
    for (const std::string_view whole : kClutterWords) {
      if (word == whole) return true;
    }
    for (const std::string_view start : kClutterStarts) {
      if (word.starts_with(start)) return true;
    }
  }
  return false;
}

bool IsNamedAsArticle(const HtmlElement& element) {
  const std::string names = LowerNames(element);
  for (const std::string_view part : kArticleParts) {
    if (names.find(part) != std::string::npos) return true;
  }
  return false;
}

}  // namespace langxing
