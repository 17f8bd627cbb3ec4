// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/downloader.hpp"

#include "core/charset.hpp"
#include "core/html_charset.hpp"
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
    if (response.ok) {
      // A page that names its charset is read in it, as a browser reads it (today's pages are
      // UTF-8 wherever they are served); the caller's charset is only the default.
      if (PageNamesCharset(response.body, response.contentType)) {
        page.text = DecodePage(response.body, response.contentType);
      } else if (auto text = DecodeBytes(response.body, charset)) {
        page.text = std::move(*text);
      }
      page.bytes = std::move(response.body);
      page.contentType = std::move(response.contentType);
    } else {
      page.error = std::move(response.error);
      page.failure = response.failure;
    }
  } catch (...) {
    page = DownloadedPage{};
    page.error = "out of memory";
    page.failure = LoadFailure::kOther;
  }
  std::lock_guard lock(mutex_);
  lastError_ = page.error;
  return page;
}

std::string CurlDownloader::LastError() const {
  std::lock_guard lock(mutex_);
  return lastError_;
}

std::u16string CurlDownloader::DownloadText(std::u16string_view url, std::u16string_view charset) {
  return DownloadPage(url, charset).text;
}

std::u16string DownloadText(std::u16string_view url, std::u16string_view charset) {
  return CurlDownloader{}.DownloadText(url, charset);
}

}  // namespace langxing
