// SPDX-License-Identifier: GPL-3.0-or-later
// UTF-16 surrogate pairs: a code point past U+FFFF is written as a lead unit (D800-DBFF)
// followed by a trail unit (DC00-DFFF); either unit alone stands for no character.
#pragma once

#include <string>

namespace langxing::utf16 {

constexpr bool IsLeadSurrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
constexpr bool IsTrailSurrogate(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }
constexpr bool IsSurrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDFFF; }

// The code point a lead unit and the trail unit after it stand for together.
constexpr char32_t CodePointOfPair(char32_t lead, char32_t trail) {
  return 0x10000 + ((lead - 0xD800) << 10) + (trail - 0xDC00);
}

// Appends a code point (at most U+10FFFF): one unit up to U+FFFF, a pair past it.
inline void AppendCodePoint(std::u16string& out, char32_t codePoint) {
  if (codePoint < 0x10000) {
    out.push_back(static_cast<char16_t>(codePoint));
    return;
  }
  const char32_t past = codePoint - 0x10000;
  out.push_back(static_cast<char16_t>(0xD800 + (past >> 10)));
  out.push_back(static_cast<char16_t>(0xDC00 + (past & 0x3FF)));
}

}  // namespace langxing::utf16
