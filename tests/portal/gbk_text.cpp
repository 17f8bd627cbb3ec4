// SPDX-License-Identifier: GPL-3.0-or-later
// Conversions between UTF-8 text and the GBK bytes most portal pages are served in.
#include <iconv.h>

#include <cerrno>
#include <stdexcept>

#include "tests/portal/test_portal.hpp"

namespace langxing::testportal {
namespace {

// Converts the whole input; nullopt on an unconvertible or malformed sequence.
std::optional<std::string> Convert(const char* to, const char* from, std::string_view in) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::string out(in.size() * 2 + 16, '\0');
  char* src = const_cast<char*>(in.data());
  std::size_t srcLeft = in.size();
  std::size_t done = 0;
  bool ok = true;
  while (srcLeft > 0) {
    char* dst = out.data() + done;
    std::size_t dstLeft = out.size() - done;
    const std::size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    done = out.size() - dstLeft;
    if (rc != static_cast<std::size_t>(-1)) continue;
    if (errno == E2BIG) {
      out.resize(out.size() * 2);
      continue;
    }
    ok = false;  // EILSEQ or EINVAL: malformed or truncated input
    break;
  }
  iconv_close(cd);
  if (!ok) return std::nullopt;
  out.resize(done);
  return out;
}

}  // namespace

std::string ToGbk(std::string_view utf8) {
  // GB18030 encodes every Unicode character and agrees with GBK on everything GBK has.
  auto gbk = Convert("GB18030", "UTF-8", utf8);
  if (!gbk) throw std::invalid_argument("ToGbk: the text is not valid UTF-8");
  return *gbk;
}

std::optional<std::string> FromGbk(std::string_view gbk) {
  return Convert("UTF-8", "GB18030", gbk);
}

}  // namespace langxing::testportal
