// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/downloader.hpp"

#include "core/charset.hpp"
#include "core/text.hpp"

namespace langxing {

DownloadedPage Downloader::DownloadPage(std::u16string_view url, std::u16string_view charset,
                                        const std::atomic<bool>* cancel) {
  DownloadedPage page;
  if (cancel != nullptr && cancel->load()) {
    page.error = "cancelled";
    page.failure = LoadFailure::kCancelled;
    return page;
  }
  page.text = DownloadText(url, charset);
  return page;
}

DownloadedPage CurlDownloader::DownloadPage(std::u16string_view url, std::u16string_view charset,
                                            const std::atomic<bool>* cancel) {
  DownloadedPage page;
  try {
    // The one header of our own: a cache must never answer with "not modified".
    HttpResponse response = HttpGet(Utf16ToUtf8(url), {"If-Modified-Since: 0"}, limits_, cancel);
    if (!response.ok) {
      page.error = std::move(response.error);
      page.failure = response.failure;
    } else {
      // The caller's character set wins over whatever the page or its headers declare.
      if (auto text = DecodeBytes(response.body, charset)) page.text = std::move(*text);
      page.bytes = std::move(response.body);
      page.contentType = std::move(response.contentType);
    }
  } catch (...) {
    page = DownloadedPage{};
    page.error = "out of memory";
    page.failure = LoadFailure::kOther;
  }
  // Whichever of the two calls the download came through, LastError tells why it failed.
  lastError_ = page.error;
  return page;
}

std::u16string CurlDownloader::DownloadText(std::u16string_view url, std::u16string_view charset) {
  return std::move(DownloadPage(url, charset).text);
}

std::u16string DownloadText(std::u16string_view url, std::u16string_view charset) {
  return CurlDownloader{}.DownloadText(url, charset);
}

}  // namespace langxing
