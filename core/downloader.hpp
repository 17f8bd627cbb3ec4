// SPDX-License-Identifier: GPL-3.0-or-later
// Synchronous page download, decoded by the page's own character set.
#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <string_view>

#include "core/http.hpp"

namespace langxing {

// One downloaded page: its text, and what came over the wire, so that a reader can read the
// same bytes a second time in a way of its own.
struct DownloadedPage {
  std::u16string text;      // decoded as DownloadText decodes; empty on any failure
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
  // The page body decoded by the charset the page names (HTTP header, byte-order mark, <meta>),
  // in `charset` where it names none; the empty text on any failure. Never throws.
  virtual std::u16string DownloadText(std::u16string_view url, std::u16string_view charset) = 0;
  // The page with its raw bytes. `cancel`, when given, aborts the transfer as soon as it becomes
  // true (the result is then a failure). By default: DownloadText's text alone. Never throws.
  virtual DownloadedPage DownloadPage(std::u16string_view url, std::u16string_view charset,
                                      const std::atomic<bool>* cancel = nullptr);
};

// GET with the header "If-Modified-Since: 0"; the HTTP status is not examined (an error page's
// body is returned). The page is decoded by the charset it names itself (the Content-Type's
// charset, else a byte-order mark, else a <meta> in its first 1024 bytes); `charset` is the
// default for a page that names none, and an unknown label there gives no text.
class CurlDownloader final : public Downloader {
 public:
  explicit CurlDownloader(NetworkLimits limits = {}) : limits_(limits) {}
  std::u16string DownloadText(std::u16string_view url, std::u16string_view charset) override;
  DownloadedPage DownloadPage(std::u16string_view url, std::u16string_view charset,
                              const std::atomic<bool>* cancel = nullptr) override;
  // Why the last download's page could not be loaded (HttpResponse::error); empty when it was.
  std::string LastError() const;

 private:
  NetworkLimits limits_;
  mutable std::mutex mutex_;
  std::string lastError_;  // guarded by mutex_
};

// The same with the default limits.
std::u16string DownloadText(std::u16string_view url, std::u16string_view charset);

}  // namespace langxing
