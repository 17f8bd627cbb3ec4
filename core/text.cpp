// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/text.hpp"

#include "core/text_search.hpp"
#include "core/utf16.hpp"

namespace langxing {

std::size_t FirstOccurrence(std::u16string_view text, std::u16string_view marker) {
  if (text.empty()) return 0;
  if (marker.empty()) return 1;
  const auto pos = FindText(text, marker);
  return pos == std::u16string_view::npos ? 0 : pos + 1;
}

bool Contains(std::u16string_view text, std::u16string_view needle) {
  return FirstOccurrence(text, needle) != 0;
}

std::u16string_view Right(std::u16string_view text, std::size_t count) {
  return count >= text.size() ? text : text.substr(text.size() - count);
}

std::u16string_view ExtractBetweenView(std::u16string_view text, std::u16string_view startMarker,
                                       std::u16string_view endMarker) {
  // An empty end marker has no defined "first occurrence before it": always empty.
  if (endMarker.empty()) return {};
  const std::size_t e = FirstOccurrence(text, endMarker);
  if (e == 0) return {};
  const std::u16string_view head = text.substr(0, e - 1);
  const std::size_t s = FirstOccurrence(head, startMarker);
  // n = e - s - L, computed in signed arithmetic so that a negative result is seen.
  const long long n = static_cast<long long>(e) - static_cast<long long>(s) -
                      static_cast<long long>(startMarker.size());
  if (n < 0) return {};
  return Right(head, static_cast<std::size_t>(n));
}

std::u16string ExtractBetween(std::u16string_view text, std::u16string_view startMarker,
                              std::u16string_view endMarker) {
  return std::u16string(ExtractBetweenView(text, startMarker, endMarker));
}

std::vector<std::u16string> SplitAll(std::u16string_view text, std::u16string_view separator) {
  std::vector<std::u16string> pieces;
  if (text.empty()) return pieces;
  if (separator.empty()) {
    pieces.emplace_back(text);
    return pieces;
  }
  std::size_t from = 0;
  for (;;) {
    const auto at = FindText(text, separator, from);
    if (at == std::u16string_view::npos) {
      pieces.emplace_back(text.substr(from));
      return pieces;
    }
    pieces.emplace_back(text.substr(from, at - from));
    from = at + separator.size();
  }
}

std::u16string ReplaceAll(std::u16string_view text, std::u16string_view find,
                          std::u16string_view replacement) {
  if (find.empty()) return std::u16string(text);
  std::u16string out;
  out.reserve(text.size());
  std::size_t from = 0;
  for (;;) {
    const auto at = FindText(text, find, from);
    if (at == std::u16string_view::npos) {
      out.append(text.substr(from));
      return out;
    }
    out.append(text.substr(from, at - from));
    out.append(replacement);
    from = at + find.size();
  }
}

std::u16string TrimSpaces(std::u16string_view text) {
  const auto first = text.find_first_not_of(u' ');
  if (first == std::u16string_view::npos) return {};
  const auto last = text.find_last_not_of(u' ');
  return std::u16string(text.substr(first, last - first + 1));
}

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Decodes the UTF-8 sequence at `i` and advances `i` past it. A malformed sequence gives one
// U+FFFD for its longest well-formed start (at least its first byte), and the byte that broke
// it begins the next sequence: the browsers' rule, so overlongs, surrogates and code points past
// U+10FFFF are malformed by the bounds on the second byte.
char32_t DecodeUtf8At(std::string_view s, std::size_t& i, bool& ok) {
  ok = true;
  const auto b0 = static_cast<unsigned char>(s[i++]);
  if (b0 < 0x80) return b0;
  int needed = 0;
  char32_t cp = 0;
  unsigned char lower = 0x80;
  unsigned char upper = 0xBF;
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    needed = 1, cp = b0 & 0x1F;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    needed = 2, cp = b0 & 0x0F;
    if (b0 == 0xE0) lower = 0xA0;  // overlong below U+0800
    if (b0 == 0xED) upper = 0x9F;  // surrogates
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    needed = 3, cp = b0 & 0x07;
    if (b0 == 0xF0) lower = 0x90;  // overlong below U+10000
    if (b0 == 0xF4) upper = 0x8F;  // past U+10FFFF
  } else {
    ok = false;
    return kReplacement;
  }
  for (; needed > 0; --needed) {
    const auto b = i < s.size() ? static_cast<unsigned char>(s[i]) : 0;
    if (i >= s.size() || b < lower || b > upper) {
      ok = false;
      return kReplacement;
    }
    cp = (cp << 6) | (b & 0x3F);
    lower = 0x80;
    upper = 0xBF;
    ++i;
  }
  return cp;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

}  // namespace

std::u16string Utf8ToUtf16(std::string_view utf8) {
  std::u16string out;
  out.reserve(utf8.size());
  std::size_t i = 0;
  bool ok = true;
  while (i < utf8.size()) {
    utf16::AppendCodePoint(out, DecodeUtf8At(utf8, i, ok));
  }
  return out;
}

std::string Utf16ToUtf8(std::u16string_view units) {
  std::string out;
  out.reserve(units.size() * 3);
  for (std::size_t i = 0; i < units.size(); ++i) {
    char32_t cp = units[i];
    if (utf16::IsLeadSurrogate(cp) && i + 1 < units.size() &&
        utf16::IsTrailSurrogate(units[i + 1])) {
      cp = utf16::CodePointOfPair(cp, units[++i]);
    } else if (utf16::IsSurrogate(cp)) {
      cp = kReplacement;
    }
    AppendUtf8(out, cp);
  }
  return out;
}

std::string ValidUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  std::size_t i = 0;
  bool ok = true;
  while (i < bytes.size()) {
    // Well-formed runs are copied as they are; only malformed sequences are rewritten.
    const std::size_t runStart = i;
    std::size_t runEnd = i;
    while (i < bytes.size()) {
      DecodeUtf8At(bytes, i, ok);
      if (!ok) break;
      runEnd = i;
    }
    out.append(bytes.substr(runStart, runEnd - runStart));
    if (!ok) AppendUtf8(out, kReplacement);
  }
  return out;
}

bool IsValidUtf8(std::string_view bytes) {
  std::size_t i = 0;
  bool ok = true;
  while (i < bytes.size()) {
    DecodeUtf8At(bytes, i, ok);
    if (!ok) return false;
  }
  return true;
}

}  // namespace langxing
