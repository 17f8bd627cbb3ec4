// SPDX-License-Identifier: GPL-3.0-or-later
// Synchronous page download, decoded in the caller's character set.
#pragma once

#include <string>
#include <string_view>

#include "core/http.hpp"

namespace langxing {

// What the article reader downloads through; tests give it a fake.
class Downloader {
 public:
  virtual ~Downloader() = default;
  // The page body decoded in `charset`; the empty text on any failure. Never throws.
  virtual std::u16string DownloadText(std::u16string_view url, std::u16string_view charset) = 0;
};

// GET with the header "If-Modified-Since: 0"; the HTTP status is not examined (an error page's
// body is returned); the page's own charset declarations are ignored in favour of `charset`.
class CurlDownloader final : public Downloader {
 public:
  explicit CurlDownloader(NetworkLimits limits = {}) : limits_(limits) {}
  std::u16string DownloadText(std::u16string_view url, std::u16string_view charset) override;
  // Why the last download's page could not be loaded (HttpResponse::error); empty when it was.
  const std::string& LastError() const { return lastError_; }

 private:
  NetworkLimits limits_;
  std::string lastError_;
};

// The same with the default limits.
std::u16string DownloadText(std::u16string_view url, std::u16string_view charset);

}  // namespace langxing
