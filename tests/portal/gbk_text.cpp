// SPDX-License-Identifier: GPL-3.0-or-later
// Conversions between UTF-8 text and the GBK bytes most portal pages are served in.
#include <stdexcept>

#include "core/charset.hpp"
#include "tests/portal/test_portal.hpp"

namespace langxing::testportal {

std::string ToGbk(std::string_view utf8) {
  // GB18030 encodes every Unicode character and agrees with GBK on everything GBK has.
  auto gbk = ConvertExactly(utf8, "GB18030", "UTF-8");
  if (!gbk) throw std::invalid_argument("ToGbk: the text is not valid UTF-8");
  return *gbk;
}

std::optional<std::string> FromGbk(std::string_view gbk) {
  return ConvertExactly(gbk, "UTF-8", "GB18030");
}

}  // namespace langxing::testportal
