// SPDX-License-Identifier: GPL-3.0-or-later
#include "headlines/roll_feed_page.hpp"

#include <string>

#include "core/html_element.hpp"
#include "core/text.hpp"

namespace langxing {
namespace {

// Numbers longer than this are no feed number; reading stops there.
constexpr std::size_t kLongestNumber = 9;

bool IsNameChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
         c == '$';
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::size_t SkipBlanks(std::string_view text, std::size_t at) {
  while (at < text.size() && IsBlank(text[at])) ++at;
  return at;
}

bool IsQuote(char c) { return c == '"' || c == '\''; }

// Where the value of the key `key` starts when `key` stands at `at` as a whole word followed by
// ":" (an optional closing quote and blanks around it): the position after the colon and the
// blanks; none otherwise.
std::optional<std::size_t> ValueOfKeyAt(std::string_view text, std::size_t at,
                                        std::string_view key) {
  if (text.substr(at, key.size()) != key) return std::nullopt;
  if (at > 0 && IsNameChar(text[at - 1])) return std::nullopt;
  std::size_t p = at + key.size();
  if (p < text.size() && IsNameChar(text[p])) return std::nullopt;
  if (p < text.size() && IsQuote(text[p])) ++p;
  p = SkipBlanks(text, p);
  if (p >= text.size() || text[p] != ':') return std::nullopt;
  return SkipBlanks(text, p + 1);
}

// The decimal number (optionally quoted) at `at`; none when there is none.
std::optional<std::string_view> NumberAt(std::string_view text, std::size_t at) {
  if (at < text.size() && IsQuote(text[at])) ++at;
  std::size_t end = at;
  while (end < text.size() && end - at <= kLongestNumber && text[end] >= '0' && text[end] <= '9')
    ++end;
  if (end == at) return std::nullopt;
  return text.substr(at, end - at);
}

std::optional<std::string_view> NumberOfKeyAt(std::string_view text, std::size_t at,
                                              std::string_view key) {
  const auto value = ValueOfKeyAt(text, at, key);
  return value ? NumberAt(text, *value) : std::nullopt;
}

// The number of the first `key: N` anywhere in the text.
std::optional<std::string_view> FirstNumberOfKey(std::string_view text, std::string_view key) {
  for (std::size_t at = text.find(key); at != std::string_view::npos; at = text.find(key, at + 1)) {
    if (auto number = NumberOfKeyAt(text, at, key)) return number;
  }
  return std::nullopt;
}

// Where the string that opens at `at` ends (its closing quote); none when it never ends.
std::optional<std::size_t> StringEnd(std::string_view text, std::size_t at) {
  const char quote = text[at];
  for (std::size_t p = at + 1; p < text.size(); ++p) {
    if (text[p] == '\\') {
      ++p;
    } else if (text[p] == quote) {
      return p;
    }
  }
  return std::nullopt;
}

// The number of `key` among the members of the object that opens at `open` (its "{"), not
// counting those of objects or arrays nested in it.
std::optional<std::string_view> MemberNumber(std::string_view text, std::size_t open,
                                             std::string_view key) {
  int depth = 1;
  for (std::size_t p = open + 1; p < text.size(); ++p) {
    const char c = text[p];
    if (IsQuote(c)) {
      if (depth == 1) {
        if (auto number = NumberOfKeyAt(text, p + 1, key)) return number;
      }
      const auto end = StringEnd(text, p);
      if (!end) return std::nullopt;
      p = *end;
    } else if (c == '{' || c == '[') {
      ++depth;
    } else if (c == '}' || c == ']') {
      if (--depth == 0) return std::nullopt;
    } else if (depth == 1) {
      if (auto number = NumberOfKeyAt(text, p, key)) return number;
    }
  }
  return std::nullopt;
}

// The lid of the first tab in the page's inline config.
std::optional<std::string_view> FirstTabLid(std::string_view text) {
  constexpr std::string_view kFirstTab = "firstTab";
  for (std::size_t at = text.find(kFirstTab); at != std::string_view::npos;
       at = text.find(kFirstTab, at + 1)) {
    const auto value = ValueOfKeyAt(text, at, kFirstTab);
    if (!value || *value >= text.size() || text[*value] != '{') continue;
    return MemberNumber(text, *value, "lid");
  }
  return std::nullopt;
}

// The value of the attribute `name` of a start tag as the serialiser writes it (name="value",
// '"' escaped), read from just after the tag's name up to its end.
std::optional<std::string> SerialisedAttribute(std::string_view tag, std::string_view name) {
  std::size_t p = 0;
  while (p < tag.size()) {
    p = SkipBlanks(tag, p);
    if (p >= tag.size() || tag[p] == '>') return std::nullopt;
    const std::size_t nameStart = p;
    while (p < tag.size() && tag[p] != '=' && tag[p] != '>' && !IsBlank(tag[p])) ++p;
    const std::string_view attribute = tag.substr(nameStart, p - nameStart);
    if (p >= tag.size() || tag[p] != '=') continue;
    if (p + 1 >= tag.size() || tag[p + 1] != '"') return std::nullopt;
    const std::size_t close = tag.find('"', p + 2);
    if (close == std::string_view::npos) return std::nullopt;
    if (attribute == name) return std::string(tag.substr(p + 2, close - p - 2));
    p = close + 1;
  }
  return std::nullopt;
}

// The pageid and s_id of the first anchor of the channel list that has both.
std::optional<std::pair<std::string, std::string>> ChannelListPair(std::string_view text) {
  // Most pages have no channel list: they are not parsed at all.
  if (text.find("channelList") == std::string_view::npos) return std::nullopt;
  const HtmlPage page(text);
  const auto list = page.InnerHtmlOf({"div", "channelList", ""}, FragmentRules{});
  if (!list) return std::nullopt;
  const std::string_view markup = *list;
  for (std::size_t at = markup.find("<a "); at != std::string_view::npos;
       at = markup.find("<a ", at + 1)) {
    const std::string_view tag = markup.substr(at + 3);
    auto pageid = SerialisedAttribute(tag, "pageid");
    auto lid = SerialisedAttribute(tag, "s_id");
    if (pageid && lid) return std::pair{std::move(*pageid), std::move(*lid)};
  }
  return std::nullopt;
}

}  // namespace

std::optional<RollFeedRequest> RollFeedRequestOfPage(std::u16string_view pageAddress,
                                                     std::string_view pageUtf8) {
  const auto pageid = FirstNumberOfKey(pageUtf8, "pageid");
  const auto lid = pageid ? FirstTabLid(pageUtf8) : std::nullopt;
  if (pageid && lid)
    return RollFeedRequestNamedByPage(pageAddress, Utf8ToUtf16(*pageid), Utf8ToUtf16(*lid));
  if (const auto pair = ChannelListPair(pageUtf8))
    return RollFeedRequestNamedByPage(pageAddress, Utf8ToUtf16(pair->first),
                                      Utf8ToUtf16(pair->second));
  return std::nullopt;
}

}  // namespace langxing
