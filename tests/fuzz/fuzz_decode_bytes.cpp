// SPDX-License-Identifier: GPL-3.0-or-later
// DecodeBytes in both character sets, and UTF-16 in both byte orders, on arbitrary bytes.
#include <cstdlib>

#include "core/charset.hpp"
#include "core/text.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace langxing;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const auto gbk = DecodeBytes(bytes, u"GB2312");
  const auto utf8 = DecodeBytes(bytes, u"utf-8");
  if (!gbk || !utf8) std::abort();  // both labels are known
  // Every input byte gives at most one code unit pair; nothing is invented beyond that.
  if (gbk->size() > 2 * bytes.size() || utf8->size() > bytes.size()) std::abort();
  // Valid UTF-8 decodes the same as the program's own converter.
  if (IsValidUtf8(bytes)) {
    std::string_view body = bytes;
    if (body.substr(0, 3) == "\xEF\xBB\xBF") body.remove_prefix(3);
    if (*utf8 != Utf8ToUtf16(body)) std::abort();
  }
  // UTF-16 is read by code units: each one gives one unit (a pair stays a pair, a lone
  // surrogate becomes one U+FFFD), a byte left over one more, so nothing shifts.
  for (const bool bigEndian : {false, true}) {
    std::string_view units = bytes;
    if (units.substr(0, 2) == (bigEndian ? "\xFE\xFF" : "\xFF\xFE")) units.remove_prefix(2);
    if (DecodeUtf16(bytes, bigEndian).size() != units.size() / 2 + units.size() % 2) std::abort();
  }
  return 0;
}
