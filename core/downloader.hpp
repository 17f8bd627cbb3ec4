// SPDX-License-Identifier: GPL-3.0-or-later
// Synchronous page download, decoded in the caller's character set.
#pragma once

#include <atomic>
#include <string>
#include <string_view>

#include "core/http.hpp"

namespace langxing {

// One downloaded page: the text in the caller's character set, and what came over the wire, so
// that a reader can read the same bytes a second time by the page's own declared charset.
struct DownloadedPage {
  std::u16string text;      // decoded in the caller's charset; empty on any failure
  std::string bytes;        // the undecoded body; empty where the downloader keeps none
  std::string contentType;  // the response's Content-Type, as sent
  std::string error;        // why the page could not be loaded; empty when it was
  LoadFailure failure = LoadFailure::kNone;
};

// What the article reader downloads through; tests give it a fake. A downloader may be used
// from a worker thread, one download at a time.
class Downloader {
 public:
  virtual ~Downloader() = default;
  // The page body decoded in `charset`; the empty text on any failure. Never throws.
  virtual std::u16string DownloadText(std::u16string_view url, std::u16string_view charset) = 0;
  // The page with its raw bytes. `cancel`, when given, aborts the transfer as soon as it becomes
  // true (the result is then a failure). By default: DownloadText's text alone. Never throws.
  virtual DownloadedPage DownloadPage(std::u16string_view url, std::u16string_view charset,
                                      const std::atomic<bool>* cancel = nullptr);
};

// GET with the header "If-Modified-Since: 0"; the HTTP status is not examined (an error page's
// body is returned); the page's own charset declarations are ignored in favour of `charset`.
class CurlDownloader final : public Downloader {
 public:
  explicit CurlDownloader(NetworkLimits limits = {}) : limits_(limits) {}
  std::u16string DownloadText(std::u16string_view url, std::u16string_view charset) override;
  DownloadedPage DownloadPage(std::u16string_view url, std::u16string_view charset,
                              const std::atomic<bool>* cancel = nullptr) override;
  // Why the last download's page (DownloadText or DownloadPage) could not be loaded
  // (HttpResponse::error); empty when it was.
  // Only meaningful where one thread downloads through this downloader.
  const std::string& LastError() const { return lastError_; }

 private:
  NetworkLimits limits_;
  std::string lastError_;
};

// The same with the default limits.
std::u16string DownloadText(std::u16string_view url, std::u16string_view charset);

}  // namespace langxing
