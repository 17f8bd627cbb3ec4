// SPDX-License-Identifier: GPL-3.0-or-later
#include "reader/page_utf8.hpp"

#include <algorithm>

#include "core/html_charset.hpp"
#include "core/text.hpp"

namespace langxing {

namespace {

bool HasNonAscii(std::string_view bytes) {
  return std::any_of(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) != 0; });
}

}  // namespace

// GBK text of any length is never valid multi-byte UTF-8, so a page whose bytes are all
// well-formed UTF-8 was written in UTF-8 whatever it declares; read as GBK it would show only
// mojibake.
std::string PageAsUtf8(const DownloadedPage& page) {
  if (page.bytes.empty()) return Utf16ToUtf8(page.text);
  if (SniffPageCharset(page.bytes, page.contentType) == Charset::Gbk && HasNonAscii(page.bytes) &&
      IsValidUtf8(page.bytes)) {
    return page.bytes;
  }
  return DecodePageToUtf8(page.bytes, page.contentType);
}

}  // namespace langxing
