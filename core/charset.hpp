// SPDX-License-Identifier: GPL-3.0-or-later
// Character-set decoding of raw bytes to UTF-16, by the WHATWG encoding labels.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace langxing {

enum class Charset { Gbk, Utf8 };

// Resolves a label as browsers do: case-insensitive, surrounding ASCII white space ignored.
// "gb2312", "gbk", "x-gbk", "chinese", "gb18030", "csgb2312", "iso-ir-58", ... -> Gbk (decoded
// with GB18030, a superset); "utf-8", "utf8", "unicode-1-1-utf-8" -> Utf8. Anything else: none.
std::optional<Charset> CharsetFromLabel(std::string_view label);
std::optional<Charset> CharsetFromLabel(std::u16string_view label);

// Decodes the whole body. A malformed sequence becomes U+FFFD and decoding goes on after it;
// a UTF-8 byte-order mark is dropped. Never throws.
std::u16string Decode(std::string_view bytes, Charset charset);

// As Decode, to UTF-8 (for the HTML parser, which reads UTF-8).
std::string DecodeToUtf8(std::string_view bytes, Charset charset);

// Decodes UTF-16 in the given byte order (a leading byte-order mark is dropped); malformed
// units become U+FFFD, as in Decode.
std::u16string DecodeUtf16(std::string_view bytes, bool bigEndian);

// Converts bytes between two character sets by their iconv names, exactly: none when a
// sequence is malformed or has no counterpart, or the system lacks the converter. (The test
// portal encodes its GBK pages with it.)
std::optional<std::string> ConvertExactly(std::string_view bytes, const char* toCode,
                                          const char* fromCode);

// Decodes in the named character set; an unknown label gives no text at all.
std::optional<std::u16string> DecodeBytes(std::string_view bytes, std::u16string_view charsetLabel);

}  // namespace langxing
