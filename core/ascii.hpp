// SPDX-License-Identifier: GPL-3.0-or-later
// ASCII character classes and case rules, for any code unit (char, char16_t, char32_t): the
// markup's, the character-set labels', the addresses' and the announcement's. White space is
// HTML's (space, tab, LF, FF and CR); only A-Z and a-z have a case. Also the hexadecimal digits
// of character references and %XX escapes, and the trimming browsers give an address.
#pragma once

#include <string>
#include <string_view>
#include <type_traits>

namespace langxing::ascii {

template <typename Char>
constexpr bool IsSpace(Char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\f' || c == '\r';
}

template <typename Char>
constexpr bool IsAlpha(Char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// The value of a hexadecimal digit (either case), or -1 for any other character.
template <typename Char>
constexpr int HexDigitValue(Char c) {
  if (c >= '0' && c <= '9') return static_cast<int>(c - '0');
  if (c >= 'a' && c <= 'f') return static_cast<int>(c - 'a') + 10;
  if (c >= 'A' && c <= 'F') return static_cast<int>(c - 'A') + 10;
  return -1;
}

template <typename Char>
constexpr bool IsHexDigit(Char c) {
  return HexDigitValue(c) >= 0;
}

// Appends the byte as an address escapes it: "%" and two upper-case hexadecimal digits.
template <typename Char>
void AppendPercentEscape(std::basic_string<Char>& out, unsigned char byte) {
  constexpr char kDigits[] = "0123456789ABCDEF";
  out.push_back(static_cast<Char>('%'));
  out.push_back(static_cast<Char>(kDigits[byte >> 4]));
  out.push_back(static_cast<Char>(kDigits[byte & 0x0F]));
}

// The text without the C0 controls and spaces (U+0000 to U+0020) at either end, as a browser
// trims an address it is given; a char is read as an unsigned byte.
template <typename Char>
constexpr std::basic_string_view<Char> TrimmedOfControlsAndSpaces(std::basic_string_view<Char> s) {
  const auto isControlOrSpace = [](Char c) {
    return static_cast<std::make_unsigned_t<Char>>(c) <= 0x20;
  };
  while (!s.empty() && isControlOrSpace(s.front())) s.remove_prefix(1);
  while (!s.empty() && isControlOrSpace(s.back())) s.remove_suffix(1);
  return s;
}
constexpr std::string_view TrimmedOfControlsAndSpaces(std::string_view s) {
  return TrimmedOfControlsAndSpaces<char>(s);
}
constexpr std::u16string_view TrimmedOfControlsAndSpaces(std::u16string_view s) {
  return TrimmedOfControlsAndSpaces<char16_t>(s);
}

template <typename Char>
constexpr Char Lower(Char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<Char>(c - 'A' + 'a') : c;
}

template <typename Char>
constexpr Char Upper(Char c) {
  return c >= 'a' && c <= 'z' ? static_cast<Char>(c - 'a' + 'A') : c;
}

template <typename Char>
std::basic_string<Char> LowerAscii(std::basic_string_view<Char> s) {
  std::basic_string<Char> out(s);
  for (Char& c : out) c = Lower(c);
  return out;
}
inline std::string LowerAscii(std::string_view s) { return LowerAscii<char>(s); }
inline std::u16string LowerAscii(std::u16string_view s) { return LowerAscii<char16_t>(s); }

template <typename Char>
constexpr bool IsAllSpace(std::basic_string_view<Char> s) {
  for (const Char c : s) {
    if (!IsSpace(c)) return false;
  }
  return true;
}
constexpr bool IsAllSpace(std::string_view s) { return IsAllSpace<char>(s); }
constexpr bool IsAllSpace(std::u16string_view s) { return IsAllSpace<char16_t>(s); }

template <typename Char>
constexpr bool EqualsIgnoringCase(std::basic_string_view<Char> a, std::basic_string_view<Char> b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

template <typename Char>
constexpr bool StartsWithIgnoringCase(std::basic_string_view<Char> s,
                                      std::basic_string_view<Char> prefix) {
  return s.size() >= prefix.size() && EqualsIgnoringCase(s.substr(0, prefix.size()), prefix);
}
constexpr bool StartsWithIgnoringCase(std::string_view s, std::string_view prefix) {
  return StartsWithIgnoringCase<char>(s, prefix);
}
constexpr bool StartsWithIgnoringCase(std::u16string_view s, std::u16string_view prefix) {
  return StartsWithIgnoringCase<char16_t>(s, prefix);
}
constexpr bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return EqualsIgnoringCase<char>(a, b);
}
constexpr bool EqualsIgnoringCase(std::u16string_view a, std::u16string_view b) {
  return EqualsIgnoringCase<char16_t>(a, b);
}

}  // namespace langxing::ascii
