// SPDX-License-Identifier: GPL-3.0-or-later
// Text primitives on UTF-16 code units. Every scraper in the program cuts pages with these.
// Positions are 1-based where a function says so; all comparisons are exact code-unit matches.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace langxing {

// The first occurrence of `marker` in `text`, 1-based: 0 when `text` is empty (whatever the
// marker), 1 when `marker` is empty, otherwise the position of the leftmost match or 0.
std::size_t FirstOccurrence(std::u16string_view text, std::u16string_view marker);

// True when `needle` occurs in `text` (an empty needle occurs in every non-empty text).
bool Contains(std::u16string_view text, std::u16string_view needle);

// The text between the first start marker and the first end marker. With the start marker
// missing before the first end marker, the text before the end marker less its first
// (start marker length - 1) code units. With the end marker missing or empty: the empty text.
// The view form points into `text`; the owning form copies the same code units.
std::u16string_view ExtractBetweenView(std::u16string_view text, std::u16string_view startMarker,
                                       std::u16string_view endMarker);
std::u16string ExtractBetween(std::u16string_view text, std::u16string_view startMarker,
                              std::u16string_view endMarker);

// Splits at every occurrence of `separator`: k occurrences give k + 1 pieces. An empty text
// gives no pieces at all. An empty separator gives the whole text as the one piece.
std::vector<std::u16string> SplitAll(std::u16string_view text, std::u16string_view separator);

// Replaces every occurrence of `find`, scanning left to right; replaced text is not rescanned.
// An empty `find` leaves the text unchanged.
std::u16string ReplaceAll(std::u16string_view text, std::u16string_view find,
                          std::u16string_view replacement);

// Removes leading and trailing U+0020 only; tabs and line breaks stay.
std::u16string TrimSpaces(std::u16string_view text);

// The last `count` code units of `text` (all of it when `count` is larger).
std::u16string_view Right(std::u16string_view text, std::size_t count);

// UTF-8 <-> UTF-16 at the program's edges, and the UTF-8 decoding of pages. A malformed UTF-8
// sequence becomes one U+FFFD for its longest well-formed start, as browsers decode it (so a
// sequence cut off by the end of the text is one U+FFFD); a lone surrogate becomes U+FFFD.
std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);

// The bytes as UTF-8 with each malformed sequence replaced as Utf8ToUtf16 replaces it.
std::string ValidUtf8(std::string_view bytes);

// True when the bytes are well-formed UTF-8 (no overlongs, no surrogates, nothing past U+10FFFF).
bool IsValidUtf8(std::string_view bytes);

}  // namespace langxing
