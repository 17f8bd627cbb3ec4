// SPDX-License-Identifier: GPL-3.0-or-later
// Turning page bytes into the body texts the hidden views hand out: decoding by the HTML
// rules, parsing with gumbo, and serialising innerHTML / innerText the way the scrapers expect.
#pragma once

#include <atomic>
#include <string>
#include <string_view>

#include "core/charset.hpp"

namespace langxing {

struct BodyTexts {
  std::u16string innerHtml;
  std::u16string innerText;
};

// Which of the body texts to serialise: a view that reads only one of them need not wait for
// the other (on a large listing, innerText costs a tenth of the whole road).
enum class BodyParts { kInnerHtml = 1, kInnerText = 2, kBoth = 3 };

// The character set of a page by the HTML rules: the charset parameter of the Content-Type
// header, else a byte-order mark, else a <meta> prescan of the first 1024 bytes, else GBK.
Charset SniffPageCharset(std::string_view bytes, std::string_view contentType);

// Decodes the page by SniffPageCharset.
std::u16string DecodePage(std::string_view bytes, std::string_view contentType);

// As DecodePage, to UTF-8, the parser's own input.
std::string DecodePageToUtf8(std::string_view bytes, std::string_view contentType);

// Parses a decoded page and serialises its body. Not HTML (an image, a binary): empty texts.
// `cancel`, when given and set, ends the work at the next step with empty texts.
BodyTexts SerializeBody(std::u16string_view html);
BodyTexts SerializeBodyUtf8(std::string_view html, const std::atomic<bool>* cancel = nullptr,
                            BodyParts parts = BodyParts::kBoth);

// The whole road from bytes to body texts.
BodyTexts BodyTextsOfPage(std::string_view bytes, std::string_view contentType,
                          const std::atomic<bool>* cancel = nullptr,
                          BodyParts parts = BodyParts::kBoth);

}  // namespace langxing
