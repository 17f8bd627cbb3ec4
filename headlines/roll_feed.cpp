// SPDX-License-Identifier: GPL-3.0-or-later
#include "headlines/roll_feed.hpp"

#include <cstdint>
#include <limits>
#include <nlohmann/json.hpp>
#include <optional>
#include <utility>

#include "core/ascii.hpp"
#include "core/text.hpp"
#include "core/utf16.hpp"

namespace langxing {
namespace {

struct FeedItem {
  std::string title;
  std::string url;
  std::optional<std::int64_t> ctime;
};

// Unix seconds as the feed writes them: a positive number, mostly as a decimal string.
std::optional<std::int64_t> SecondsOf(const std::string& text) {
  if (text.empty() || text.size() > 12) return std::nullopt;
  std::int64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  if (value <= 0) return std::nullopt;
  return value;
}

// Reads the feed's events without building a tree, keeping only the status code and the
// items' title and url. The parser itself keeps one bit per open level; this reader stops it
// before the nesting could grow without bound.
class FeedReader final : public nlohmann::json_sax<nlohmann::json> {
 public:
  bool codeIsZero = false;
  std::vector<FeedItem> items;

  bool null() override { return Scalar(std::nullopt, false); }
  bool boolean(bool) override { return Scalar(std::nullopt, false); }
  bool number_integer(number_integer_t value) override {
    return Scalar(std::nullopt, value == 0, value > 0 ? std::optional(value) : std::nullopt);
  }
  bool number_unsigned(number_unsigned_t value) override {
    const bool fits = value > 0 && value <= static_cast<number_unsigned_t>(
                                                std::numeric_limits<std::int64_t>::max());
    return Scalar(std::nullopt, value == 0,
                  fits ? std::optional(static_cast<std::int64_t>(value)) : std::nullopt);
  }
  bool number_float(number_float_t value, const string_t&) override {
    return Scalar(std::nullopt, value == 0.0);
  }
  bool string(string_t& value) override {
    const bool zero = value == "0";
    return Scalar(std::move(value), zero);
  }
  bool binary(binary_t&) override { return Scalar(std::nullopt, false); }

  bool start_object(std::size_t) override {
    const Role role = ValueRole();
    const bool known =
        role == Role::Root || role == Role::Result || role == Role::Status || role == Role::Item;
    if (role == Role::Item) current_ = FeedItem{};
    return Open(known ? role : Role::Ignore, false);
  }
  bool key(string_t& name) override {
    next_ = RoleOfKey(stack_.back().role, name);
    return true;
  }
  bool end_object() override {
    if (stack_.back().role == Role::Item) items.push_back(std::move(current_));
    stack_.pop_back();
    return true;
  }
  bool start_array(std::size_t) override {
    const Role role = ValueRole();
    // The last "data" of a result counts, as in the page's own script.
    if (role == Role::Data) items.clear();
    return Open(role == Role::Data ? Role::Data : Role::Ignore, true);
  }
  bool end_array() override {
    stack_.pop_back();
    return true;
  }
  bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) override {
    return false;
  }

 private:
  enum class Role { Ignore, Root, Result, Status, Data, Item, Code, Title, Url, Ctime };

  static Role RoleOfKey(Role object, const std::string& name) {
    switch (object) {
      case Role::Root:
        return name == "result" ? Role::Result : Role::Ignore;
      case Role::Result:
        return name == "status" ? Role::Status : name == "data" ? Role::Data : Role::Ignore;
      case Role::Status:
        return name == "code" ? Role::Code : Role::Ignore;
      case Role::Item:
        return name == "title"   ? Role::Title
               : name == "url"   ? Role::Url
               : name == "ctime" ? Role::Ctime
                                 : Role::Ignore;
      default:
        return Role::Ignore;
    }
  }

  // The role of the value that starts now: the top value, an element of an array, or the
  // value of the key just read.
  Role ValueRole() {
    if (stack_.empty()) return topSeen_ ? Role::Ignore : (topSeen_ = true, Role::Root);
    if (stack_.back().array) return stack_.back().role == Role::Data ? Role::Item : Role::Ignore;
    return std::exchange(next_, Role::Ignore);
  }

  bool Open(Role role, bool array) {
    if (stack_.size() >= RollFeedMaxNesting) return false;
    stack_.push_back({role, array});
    return true;
  }

  bool Scalar(std::optional<std::string> text, bool zero,
              std::optional<std::int64_t> number = std::nullopt) {
    switch (ValueRole()) {
      case Role::Code:
        codeIsZero = zero;
        break;
      case Role::Title:
        current_.title = text.value_or(std::string());
        break;
      case Role::Url:
        current_.url = text.value_or(std::string());
        break;
      case Role::Ctime:
        current_.ctime = text ? SecondsOf(*text) : number;
        break;
      default:
        break;
    }
    return true;
  }

  struct Frame {
    Role role;
    bool array;
  };
  std::vector<Frame> stack_;
  Role next_ = Role::Ignore;
  bool topSeen_ = false;
  FeedItem current_;
};

// The character an entity's name (between "&" and ";") stands for, if it is one of the few
// that titles use, or a valid numeric reference.
std::optional<char32_t> EntityValue(std::u16string_view name) {
  static constexpr std::pair<std::u16string_view, char32_t> kNamed[] = {
      {u"amp", u'&'},     {u"lt", u'<'},      {u"gt", u'>'},      {u"quot", u'"'},
      {u"apos", u'\''},   {u"nbsp", 0xA0},    {u"middot", 0xB7},  {u"hellip", 0x2026},
      {u"ldquo", 0x201C}, {u"rdquo", 0x201D}, {u"lsquo", 0x2018}, {u"rsquo", 0x2019},
      {u"mdash", 0x2014}, {u"ndash", 0x2013}};
  for (const auto& [entity, value] : kNamed)
    if (name == entity) return value;
  if (name.size() < 2 || name[0] != u'#') return std::nullopt;
  const bool hex = name[1] == u'x' || name[1] == u'X';
  const std::u16string_view digits = name.substr(hex ? 2 : 1);
  if (digits.empty()) return std::nullopt;
  char32_t value = 0;
  for (char16_t c : digits) {
    const int digit = hex ? ascii::HexDigitValue(c) : (c >= u'0' && c <= u'9' ? c - u'0' : -1);
    if (digit < 0) return std::nullopt;
    value = value * (hex ? 16 : 10) + static_cast<char32_t>(digit);
    if (value > 0x10FFFF) return std::nullopt;
  }
  if (value == 0 || utf16::IsSurrogate(value)) return std::nullopt;
  return value;
}

std::u16string DecodeEntities(std::u16string_view text) {
  constexpr std::size_t kLongestName = 10;
  std::u16string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'&') {
      const std::size_t end = text.find(u';', i + 1);
      if (end != std::u16string_view::npos && end - i - 1 <= kLongestName) {
        if (const auto value = EntityValue(text.substr(i + 1, end - i - 1))) {
          utf16::AppendCodePoint(out, *value);
          i = end;
          continue;
        }
      }
    }
    out += text[i];
  }
  return out;
}

bool IsBlankInTitle(char16_t c) {
  return c <= 0x20 || c == 0x7F || c == 0x85 || c == 0xA0 || c == 0x2028 || c == 0x2029;
}

// The title as one line of text, or empty when nothing is left.
std::u16string TitleText(std::string_view utf8) {
  const std::u16string decoded = DecodeEntities(Utf8ToUtf16(utf8));
  std::u16string title;
  title.reserve(decoded.size());
  bool blank = false;
  for (char16_t c : decoded) {
    if (IsBlankInTitle(c)) {
      blank = !title.empty();
      continue;
    }
    if (blank) title += u' ';
    blank = false;
    title += c;
  }
  // Opening an entry takes what follows its first "url=": the title must not hold one.
  return ReplaceAll(title, u"url=", u"url\uFF1D");
}

// The url as it can be opened and fetched, or none when it is no http(s) address.
std::optional<std::u16string> LinkUrl(std::string_view utf8) {
  const std::u16string raw = Utf8ToUtf16(utf8);
  const std::u16string_view trimmed = ascii::TrimmedOfControlsAndSpaces(raw);
  std::u16string url;
  url.reserve(trimmed.size());
  for (const char16_t c : trimmed) {
    if (c == u'\t' || c == u'\n' || c == u'\r') continue;  // as browsers drop them
    if (c == u'"' || c == u' ' || c < 0x20 || c == 0x7F) {
      ascii::AppendPercentEscape(url, static_cast<unsigned char>(c));
    } else {
      url += c;
    }
  }
  for (std::u16string_view scheme : {u"http://", u"https://"}) {
    if (ascii::StartsWithIgnoringCase(url, scheme) && url.size() > scheme.size() &&
        url[scheme.size()] != u'/')
      return url;
  }
  return std::nullopt;
}

}  // namespace

std::vector<RollFeedEntry> RollFeedItems(std::string_view json) {
  FeedReader reader;
  bool parsed = false;
  try {
    parsed = nlohmann::json::sax_parse(json, &reader);
  } catch (const std::exception&) {
    parsed = false;
  }
  if (!parsed || !reader.codeIsZero) return {};

  std::vector<RollFeedEntry> entries;
  entries.reserve(reader.items.size());
  for (const FeedItem& item : reader.items) {
    std::u16string title = TitleText(item.title);
    const auto url = LinkUrl(item.url);
    if (title.empty() || !url) continue;
    title += u";url=";
    title += *url;
    entries.push_back({std::move(title), item.ctime});
  }
  return entries;
}

std::vector<std::u16string> RollFeedEntries(std::string_view json) {
  std::vector<std::u16string> entries;
  for (RollFeedEntry& item : RollFeedItems(json)) entries.push_back(std::move(item.entry));
  return entries;
}

}  // namespace langxing
