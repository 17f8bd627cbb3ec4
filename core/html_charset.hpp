// SPDX-License-Identifier: GPL-3.0-or-later
// Choosing and applying a page's character set the way browsers do: HTTP header, byte-order mark,
// the <meta> prescan of the first 1024 bytes, and GBK when nothing names one.
#pragma once

#include <string>
#include <string_view>

#include "core/charset.hpp"

namespace langxing {

// The character set of a page by the HTML rules: the charset parameter of the Content-Type
// header, else a byte-order mark, else a <meta> prescan of the first 1024 bytes, else GBK.
Charset SniffPageCharset(std::string_view bytes, std::string_view contentType);

// Whether the page names its character set at all: a charset the Content-Type header names, a
// byte-order mark (UTF-8 or UTF-16), or a <meta> in the first 1024 bytes. A page that names none
// is read as GBK by the functions here; a caller with a default of its own uses that instead.
bool PageNamesCharset(std::string_view bytes, std::string_view contentType);

// Decodes the page by SniffPageCharset (a UTF-16 byte-order mark gives UTF-16).
std::u16string DecodePage(std::string_view bytes, std::string_view contentType);

// As DecodePage, to UTF-8, the parser's own input.
std::string DecodePageToUtf8(std::string_view bytes, std::string_view contentType);

}  // namespace langxing
