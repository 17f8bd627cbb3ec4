// SPDX-License-Identifier: GPL-3.0-or-later
// A guard against pathologically deep markup. The HTML tree builder walks the stack of open
// elements for every tag, so tens of thousands of nested elements make a parse take many
// seconds; no real page nests anywhere near the limit below.
#pragma once

#include <cstddef>
#include <string_view>

namespace langxing::html {

// Deeper than this, a page is cut off before it is parsed.
constexpr std::size_t kMaxNestingDepth = 10000;

// The length of the markup to parse: the whole of it, or the part before the first start tag
// that would open more than `maxDepth` elements. The count is an estimate from the tags alone:
// elements the parser closes by itself (P, LI, TD, ...) and void elements are not counted, so
// it never exceeds the depth the parser builds by much, and ordinary pages are never cut.
std::size_t ParseableLength(std::string_view utf8, std::size_t maxDepth = kMaxNestingDepth);

}  // namespace langxing::html
