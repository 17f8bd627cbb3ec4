// SPDX-License-Identifier: GPL-3.0-or-later
#include "reader/flash_player.hpp"

#include <algorithm>
#include <map>
#include <optional>
#include <vector>

#include "core/ascii.hpp"
#include "core/collapsed_space.hpp"
#include "core/html_element.hpp"
#include "core/portal.hpp"
#include "core/text.hpp"
#include "reader/article_markup.hpp"
#include "reader/video_link.hpp"

namespace langxing {

namespace {

constexpr std::size_t npos = std::u16string_view::npos;

bool StartsWithIgnoringCase(std::u16string_view text, std::size_t at, std::u16string_view word) {
  return ascii::StartsWithIgnoringCase(text.substr(at), word);
}

std::size_t FindIgnoringCase(std::u16string_view text, std::u16string_view word, std::size_t from) {
  for (std::size_t at = from; at + word.size() <= text.size(); ++at) {
    if (StartsWithIgnoringCase(text, at, word)) return at;
  }
  return npos;
}

// A start tag of `name` at `at` ("<object" followed by a blank, "/" or ">").
bool IsStartTag(std::u16string_view text, std::size_t at, std::u16string_view name) {
  if (!StartsWithIgnoringCase(text, at, name)) return false;
  const std::size_t next = at + name.size();
  if (next >= text.size()) return false;
  const char16_t c = text[next];
  return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f' || c == u'/' ||
         c == u'>';
}

// A tag longer than this is no player's: the search for its end stops there.
constexpr std::size_t kLongestTag = 64 * 1024;

// The end of the tag that starts at `at`: past its ">", quoted values skipped.
std::size_t TagEnd(std::u16string_view text, std::size_t at) {
  char16_t quote = 0;
  const std::size_t limit = std::min(text.size(), at + kLongestTag);
  for (std::size_t i = at; i < limit; ++i) {
    const char16_t c = text[i];
    if (quote != 0) {
      if (c == quote) quote = 0;
    } else if (c == u'"' || c == u'\'') {
      quote = c;
    } else if (c == u'>') {
      return i + 1;
    }
  }
  return npos;
}

// Each <object> start tag's position with the end of its matching </object>, in one pass (a
// page of unclosed objects costs no more than one of closed ones).
std::map<std::size_t, std::size_t> ObjectEnds(std::u16string_view text) {
  std::map<std::size_t, std::size_t> ends;
  std::vector<std::size_t> open;
  for (std::size_t at = text.find(u'<'); at != npos; at = text.find(u'<', at + 1)) {
    if (IsStartTag(text, at, u"<object")) {
      open.push_back(at);
    } else if (!open.empty() && StartsWithIgnoringCase(text, at, u"</object")) {
      const std::size_t end = TagEnd(text, at);
      if (end == npos) break;
      ends[open.back()] = end;
      open.pop_back();
    }
  }
  return ends;
}

// The end of a lone <embed> at `at`, with a "</embed>" right after it.
std::size_t EmbedEnd(std::u16string_view text, std::size_t at) {
  std::size_t end = TagEnd(text, at);
  if (end == npos) return npos;
  std::size_t after = end;
  while (after < text.size() && (text[after] == u' ' || text[after] == u'\n' ||
                                 text[after] == u'\r' || text[after] == u'\t')) {
    ++after;
  }
  if (StartsWithIgnoringCase(text, after, u"</embed>")) end = after + 8;
  return end;
}

std::string PercentDecoded(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const int high = i + 2 < text.size() ? ascii::HexDigitValue(text[i + 1]) : -1;
    const int low = high >= 0 ? ascii::HexDigitValue(text[i + 2]) : -1;
    if (text[i] == '%' && low >= 0) {
      out.push_back(static_cast<char>(high * 16 + low));
      i += 2;
    } else {
      out.push_back(text[i] == '+' ? ' ' : text[i]);
    }
  }
  return ValidUtf8(out);
}

// The value of `key` in "a=1&b=2" (a query or flashvars), percent-decoded.
std::optional<std::string> ParameterOf(std::string_view parameters, std::string_view key) {
  std::size_t start = 0;
  while (start <= parameters.size()) {
    std::size_t end = parameters.find('&', start);
    if (end == std::string_view::npos) end = parameters.size();
    const std::string_view pair = parameters.substr(start, end - start);
    const std::size_t equals = pair.find('=');
    if (equals != std::string_view::npos && pair.substr(0, equals) == key) {
      return PercentDecoded(pair.substr(equals + 1));
    }
    start = end + 1;
  }
  return std::nullopt;
}

// What a Flash player's markup says of its video.
class PlayerFacts : public HtmlVisitor {
 public:
  bool Enter(const HtmlElement& element) override {
    const std::string tag = element.Name();
    if (tag == "object" || tag == "embed") {
      if (title.empty()) title = CollapsedSpace(element.Attribute("title"));
      Add(element.Attribute("flashvars"));
      AddMovie(element.Attribute(tag == "object" ? "data" : "src"));
    } else if (tag == "param") {
      const std::string_view name = element.Attribute("name");
      const std::string_view value = element.Attribute("value");
      if (name == "flashvars" || name == "FlashVars" || name == "flashVars") Add(value);
      if (name == "movie" || name == "src") AddMovie(value);
    }
    return true;
  }
  void Text(std::string_view) override {}
  void Leave(const HtmlElement&) override {}

  std::optional<std::string> First(std::initializer_list<std::string_view> keys) const {
    for (const std::string& parameters : parameters_) {
      for (const std::string_view key : keys) {
        if (auto value = ParameterOf(parameters, key); value && !value->empty()) return value;
      }
    }
    return std::nullopt;
  }

  std::string title;
  std::vector<std::string> movies;  // the .swf addresses

 private:
  void AddMovie(std::string_view address) {
    if (address.empty()) return;
    movies.emplace_back(address);
    const std::size_t mark = address.find('?');
    if (mark != std::string_view::npos) Add(address.substr(mark + 1));
  }
  void Add(std::string_view parameters) {
    if (!parameters.empty()) parameters_.emplace_back(parameters);
  }

  std::vector<std::string> parameters_;
};

// Whether a movie address lies on the portal's video host ("//you.video.sina.com.cn/…").
bool IsOnVideoHost(std::string_view address) {
  const std::size_t scheme = address.find("//");
  if (scheme == std::string_view::npos) return false;
  std::string_view host = address.substr(scheme + 2);
  host = host.substr(0, host.find_first_of("/?#:"));
  const std::string video = Utf16ToUtf8(PortalVideoHost);
  const std::string lower = ascii::LowerAscii(host);
  return !video.empty() && (lower == video || lower.ends_with("." + video));
}

// The link that stands for a player of the portal's videos: its movie on the video host, or a
// video id ("vid") among its parameters. Other Flash (ads, animations) has no video to link to
// and gets none.
std::optional<std::string> LinkFor(std::string_view player, std::u16string_view articleUrl) {
  const HtmlPage html(player);
  PlayerFacts facts;
  html.Walk(facts);
  const bool playsVideo =
      facts.First({"vid"}).has_value() ||
      std::any_of(facts.movies.begin(), facts.movies.end(),
                  [](const std::string& movie) { return IsOnVideoHost(movie); });
  if (!playsVideo) return std::nullopt;
  std::string title = facts.title;
  if (title.empty()) title = CollapsedSpace(facts.First({"title"}).value_or(""));
  const std::string poster =
      AbsoluteWebAddress(facts.First({"pic", "poster", "image", "img", "thumb"}).value_or(""));
  std::string page =
      AbsoluteWebAddress(facts.First({"url", "link", "pageurl", "page"}).value_or(""));
  if (page.empty()) page = AbsoluteWebAddress(Utf16ToUtf8(articleUrl));
  return VideoLinkMarkup(title, poster, page);
}

}  // namespace

void ReplaceFlashPlayers(std::u16string& body, std::u16string_view articleUrl) {
  std::u16string out;
  std::size_t copied = 0;
  const std::u16string_view text = body;
  if (FindIgnoringCase(text, u".swf", 0) == npos) return;
  const std::map<std::size_t, std::size_t> objectEnds = ObjectEnds(text);
  for (std::size_t at = text.find(u'<'); at != npos; at = text.find(u'<', at + 1)) {
    std::size_t end = npos;
    if (IsStartTag(text, at, u"<object")) {
      const auto found = objectEnds.find(at);
      if (found != objectEnds.end()) end = found->second;
    } else if (IsStartTag(text, at, u"<embed")) {
      end = EmbedEnd(text, at);
    }
    if (end == npos) continue;
    // A player is looked at once, with what it holds: an object inside it is part of it.
    const std::u16string_view player = text.substr(at, end - at);
    const std::size_t next = end - 1;
    if (FindIgnoringCase(player, u".swf", 0) != npos) {
      if (const auto link = LinkFor(Utf16ToUtf8(player), articleUrl)) {
        out.append(text, copied, at - copied);
        out += Utf8ToUtf16(*link);
        copied = end;
      }
    }
    at = next;
  }
  if (copied == 0) return;  // no player: the page stays exactly as it was
  out.append(text, copied, npos);
  body.swap(out);
}

}  // namespace langxing
