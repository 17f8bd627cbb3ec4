// Fast whole-page search and replace for the reader page. Article pages run to megabytes and
// are rewritten nine times per render, so each pass is one vectorised scan and a page that
// holds no match is left untouched instead of being copied.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace langxing {

// The index of the first occurrence of `needle` in `text` at or after `from`, or npos.
// An empty needle is found at `from` when `from` <= text.size().
std::size_t FindText(std::u16string_view text, std::u16string_view needle, std::size_t from = 0);

// Replaces every occurrence of `find` in `text`, left to right; replaced text is not rescanned.
// The same result as ReplaceAll in core/text.hpp. An empty `find` changes nothing.
void ReplaceEvery(std::u16string& text, std::u16string_view find, std::u16string_view replacement);

}  // namespace langxing
