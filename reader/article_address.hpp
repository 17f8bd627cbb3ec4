// SPDX-License-Identifier: GPL-3.0-or-later
// The article address of a headline list item.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace langxing {

// The text after the first "url=", double quotes removed. An item without "url=" whose link
// part (after the first ";") is not empty gives that link part, quotes removed and surrounding
// spaces trimmed; an item without ";" (the apology line) or with an empty link gives none.
std::optional<std::u16string> ArticleUrlOfItem(std::u16string_view item);

}  // namespace langxing
