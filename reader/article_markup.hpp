// SPDX-License-Identifier: GPL-3.0-or-later
// The markup every reading of a portal page gives the reader page: the title as an <h1>, the
// date and source as a <p class="artInfo">, then the body, so that the restyling rewrites
// treat them as they treat a classic article.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace langxing {

// Text with &, < and the markup's `delimiter` escaped: '>' for element content, '"' for a
// double-quoted attribute value.
std::string Escaped(std::string_view text, char delimiter);
inline std::string EscapedText(std::string_view text) { return Escaped(text, '>'); }
inline std::string EscapedAttribute(std::string_view text) { return Escaped(text, '"'); }

// An http(s) or protocol-relative address, made absolute (https); empty for anything else
// (javascript:, data:, a relative path).
std::string AbsoluteWebAddress(std::string_view address);

// The title and the date line, each left out when absent or empty.
std::string ArticleHead(const std::optional<std::string>& title,
                        const std::optional<std::string>& dateLine);

// `head` + `body` as UTF-16; empty when the body has no visible character (an article of white
// space alone is no article: the failure page says so better than an empty page).
std::u16string FinishedArticle(std::string_view head, std::string_view body);

}  // namespace langxing
