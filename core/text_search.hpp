// SPDX-License-Identifier: GPL-3.0-or-later
// Fast search of a UTF-16 needle in a UTF-16 text. Pages run to megabytes and every scraper
// searches them many times, so the search is one vectorised scan (SSE2, or AVX2 when the
// processor has it) over the candidates whose first and last code units match.
#pragma once

#include <cstddef>
#include <string_view>

namespace langxing {

// The index of the first occurrence of `needle` in `text` at or after `from`, or npos.
// An empty needle is found at `from` when `from` <= text.size().
std::size_t FindText(std::u16string_view text, std::u16string_view needle, std::size_t from = 0);

// The same search by a chosen instruction set (the widest the processor has at most), so
// that every path can be checked on any machine.
enum class SearchPath { Scalar, Sse2, Avx2 };
std::size_t FindTextUsing(SearchPath path, std::u16string_view text, std::u16string_view needle,
                          std::size_t from = 0);

}  // namespace langxing
