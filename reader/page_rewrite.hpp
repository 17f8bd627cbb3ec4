// SPDX-License-Identifier: GPL-3.0-or-later
// Fast whole-page replace for the reader page. Article pages run to megabytes
// and are rewritten nine times per render, so each pass is one vectorised scan, a pass without
// a match leaves the page untouched, and a pass with matches rewrites it in place when the
// page's spare capacity allows.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "core/text_search.hpp"

namespace langxing {

// Replaces every occurrence of `find` in `text`, left to right; replaced text is not rescanned.
// The same result as ReplaceAll of core/text.hpp. An empty `find` changes nothing.
void ReplaceEvery(std::u16string& text, std::u16string_view find, std::u16string_view replacement);

}  // namespace langxing
