// SPDX-License-Identifier: GPL-3.0-or-later
// HTTP over libcurl: one GET with the program's network rules. Used synchronously by the
// article download and on a worker thread by the hidden page loader.
#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <string>
#include <vector>

namespace langxing {

struct NetworkLimits {
  std::chrono::milliseconds connectTimeout{10'000};
  // A transfer that receives no byte (of the head or the body) for this long fails; one that
  // keeps moving may take up to totalTimeout.
  std::chrono::milliseconds stallTimeout{10'000};
  std::chrono::milliseconds totalTimeout{60'000};
  std::size_t maxBodyBytes = 32u * 1024u * 1024u;
  long maxRedirects = 10;
};

// Why a page could not be loaded, in the kinds a reader is told apart.
enum class LoadFailure {
  kNone,           // loaded (any HTTP status)
  kCannotConnect,  // no route, refused, TLS failed
  kHostNotFound,   // the name (of the host or the proxy) did not resolve
  kTimedOut,       // connect or total time-out, or a stalled transfer
  kTooLarge,       // the body went past the size cap
  kCancelled,      // the caller gave it up
  kOther,          // anything else (a malformed address, no memory, a protocol error)
};

struct HttpResponse {
  bool ok = false;           // a response arrived whole (any HTTP status) within the limits
  long status = 0;           // HTTP status of the last response, not judged by anyone
  std::string contentType;   // Content-Type header of the last response, as sent
  std::string body;          // undecoded entity body (gzip/deflate already undone)
  std::string effectiveUrl;  // address after redirects
  std::string error;         // when not ok: why, in libcurl's own words where libcurl failed
  LoadFailure failure = LoadFailure::kNone;  // when not ok: the kind of failure
};

// GET `url` with the given extra header lines ("Name: value"). Redirects are followed, the
// proxy comes from http_proxy/https_proxy/no_proxy, gzip and deflate are accepted. https
// certificates are verified against the system's store, or against the bundle that
// CURL_CA_BUNDLE names (as the curl tool reads it), for users behind a TLS-inspecting proxy. A
// transfer that fails, stalls, times out or exceeds the size cap gives ok == false, an empty body
// and the reason in `error`. `cancel`, when given, aborts the transfer as soon as it becomes true.
// Never throws.
HttpResponse HttpGet(const std::string& url, const std::vector<std::string>& headers,
                     const NetworkLimits& limits = {}, const std::atomic<bool>* cancel = nullptr);

}  // namespace langxing
