// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/downloader.hpp"

#include "core/charset.hpp"
#include "core/text.hpp"

namespace langxing {

std::u16string CurlDownloader::DownloadText(std::u16string_view url, std::u16string_view charset) {
  lastError_.clear();
  try {
    // The one header of our own: a cache must never answer with "not modified".
    const HttpResponse response = HttpGet(Utf16ToUtf8(url), {"If-Modified-Since: 0"}, limits_);
    if (!response.ok) {
      lastError_ = response.error;
      return {};
    }
    // The caller's character set wins over whatever the page or its headers declare.
    auto text = DecodeBytes(response.body, charset);
    return text ? std::move(*text) : std::u16string{};
  } catch (...) {
    return {};
  }
}

std::u16string DownloadText(std::u16string_view url, std::u16string_view charset) {
  return CurlDownloader{}.DownloadText(url, charset);
}

}  // namespace langxing
