// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/http.hpp"

#include <curl/curl.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <string>

#include "core/ascii.hpp"

namespace langxing {
namespace {

// How often the transfer loop wakes to look at the cancel flag while the network is quiet.
constexpr long kCancelPollMs = 25;

void InitCurlOnce() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// Browsers forgive addresses that scrapers hand over: surrounding blanks and control characters
// are dropped, tabs and line breaks inside vanish, and blanks and non-ASCII bytes are
// percent-encoded. What remains is what libcurl is asked to fetch. Empty means "no address".
std::string NormaliseUrl(const std::string& raw) {
  const std::string_view trimmed = ascii::TrimmedOfControlsAndSpaces(raw);
  std::string url;
  url.reserve(trimmed.size());
  for (const char byte : trimmed) {
    const auto c = static_cast<unsigned char>(byte);
    if (c == '\t' || c == '\n' || c == '\r') continue;
    if (c < 0x20 || c == 0x7F) return {};  // a control character (NUL included) is no address
    if (c == ' ' || c >= 0x80) {
      ascii::AppendPercentEscape(url, c);
    } else {
      url += static_cast<char>(c);
    }
  }
  return url;
}

bool IsSafeHeaderLine(const std::string& line) {
  return !line.empty() && line.find_first_of("\r\n", 0) == std::string::npos &&
         line.find('\0') == std::string::npos;
}

using Clock = std::chrono::steady_clock;

struct Transfer {
  std::string body;
  std::size_t maxBodyBytes = 0;
  bool tooLarge = false;     // the body went past maxBodyBytes
  bool outOfMemory = false;  // no memory for the body
  const std::atomic<bool>* cancel = nullptr;
  std::chrono::milliseconds stallTimeout{0};
  Clock::time_point lastByte = Clock::now();  // when the last header or body byte came
  bool stalled = false;
};

// The callbacks are called from C: nothing may be thrown through them. A short count (or a
// non-zero return of the progress callback) makes libcurl abort the transfer.
size_t OnBodyBytes(char* data, size_t size, size_t count, void* userdata) noexcept {
  auto* transfer = static_cast<Transfer*>(userdata);
  const std::size_t bytes = size * count;
  transfer->lastByte = Clock::now();
  if (bytes > transfer->maxBodyBytes - transfer->body.size()) {
    transfer->tooLarge = true;
    return 0;
  }
  try {
    transfer->body.append(data, bytes);
  } catch (...) {
    transfer->outOfMemory = true;  // the transfer fails
    return 0;
  }
  return bytes;
}

size_t OnHeaderBytes(char*, size_t size, size_t count, void* userdata) noexcept {
  static_cast<Transfer*>(userdata)->lastByte = Clock::now();
  return size * count;
}

// Called at least once a second and on every pass of the transfer loop.
int OnProgress(void* userdata, curl_off_t, curl_off_t, curl_off_t, curl_off_t) noexcept {
  auto* transfer = static_cast<Transfer*>(userdata);
  if (transfer->cancel != nullptr && transfer->cancel->load()) return 1;
  if (Clock::now() - transfer->lastByte >= transfer->stallTimeout) {
    transfer->stalled = true;
    return 1;
  }
  return 0;
}

bool Cancelled(const std::atomic<bool>* cancel) { return cancel != nullptr && cancel->load(); }

struct EasyDeleter {
  void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct MultiDeleter {
  void operator()(CURLM* multi) const { curl_multi_cleanup(multi); }
};
struct SlistDeleter {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

// Runs the easy handle to its end, waking often enough that a cancel takes effect within
// kCancelPollMs even when no byte arrives. Returns the transfer's result code.
CURLcode Perform(CURL* easy, const std::atomic<bool>* cancel) {
  std::unique_ptr<CURLM, MultiDeleter> multi(curl_multi_init());
  if (!multi) return CURLE_OUT_OF_MEMORY;
  if (curl_multi_add_handle(multi.get(), easy) != CURLM_OK) return CURLE_FAILED_INIT;

  CURLcode result = CURLE_ABORTED_BY_CALLBACK;
  for (;;) {
    if (Cancelled(cancel)) break;
    int running = 0;
    if (curl_multi_perform(multi.get(), &running) != CURLM_OK) {
      result = CURLE_FAILED_INIT;
      break;
    }
    if (running == 0) {
      int queued = 0;
      result = CURLE_RECV_ERROR;
      while (CURLMsg* msg = curl_multi_info_read(multi.get(), &queued)) {
        if (msg->msg == CURLMSG_DONE && msg->easy_handle == easy) result = msg->data.result;
      }
      break;
    }
    if (curl_multi_poll(multi.get(), nullptr, 0, kCancelPollMs, nullptr) != CURLM_OK) {
      result = CURLE_FAILED_INIT;
      break;
    }
  }
  curl_multi_remove_handle(multi.get(), easy);
  return result;
}

LoadFailure FailureOf(CURLcode code) {
  switch (code) {
    case CURLE_COULDNT_CONNECT:
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
    case CURLE_GOT_NOTHING:
      return LoadFailure::kCannotConnect;
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
      return LoadFailure::kHostNotFound;
    case CURLE_OPERATION_TIMEDOUT:
      return LoadFailure::kTimedOut;
    case CURLE_FILESIZE_EXCEEDED:
      return LoadFailure::kTooLarge;
    default:
      return LoadFailure::kOther;
  }
}

// The CA bundle CURL_CA_BUNDLE names, as the curl tool reads it (libcurl itself does not);
// empty: libcurl's default, the system's store.
std::string CaBundleFromEnvironment() {
  const char* bundle = std::getenv("CURL_CA_BUNDLE");
  return bundle != nullptr ? std::string(bundle) : std::string();
}

HttpResponse HttpGetUnguarded(const std::string& rawUrl, const std::vector<std::string>& headers,
                              const NetworkLimits& limits, const std::atomic<bool>* cancel) {
  HttpResponse response;
  const auto failed = [&response](std::string why, LoadFailure kind = LoadFailure::kOther) {
    response.error = std::move(why);
    response.failure = kind;
    return response;
  };
  const std::string url = NormaliseUrl(rawUrl);
  if (url.empty()) return failed("no address to load");
  for (const auto& line : headers) {
    if (!IsSafeHeaderLine(line)) return failed("a request header line is malformed");
  }
  if (Cancelled(cancel)) return failed("cancelled", LoadFailure::kCancelled);

  // libcurl's own account of a failure, more precise than the text of its result code; declared
  // before the handle so that it outlives it.
  char errorText[CURL_ERROR_SIZE] = {};
  InitCurlOnce();
  std::unique_ptr<CURL, EasyDeleter> easy(curl_easy_init());
  if (!easy) return failed(curl_easy_strerror(CURLE_FAILED_INIT));

  std::unique_ptr<curl_slist, SlistDeleter> headerList;
  for (const auto& line : headers) {
    curl_slist* grown = curl_slist_append(headerList.get(), line.c_str());
    if (grown == nullptr) return failed(curl_easy_strerror(CURLE_OUT_OF_MEMORY));
    if (!headerList) headerList.reset(grown);  // appending returns the list's unchanged head
  }

  Transfer transfer;
  transfer.maxBodyBytes = limits.maxBodyBytes;
  transfer.cancel = cancel;
  transfer.stallTimeout = limits.stallTimeout;

  CURL* h = easy.get();
  bool configured =
      curl_easy_setopt(h, CURLOPT_URL, url.c_str()) == CURLE_OK &&
      curl_easy_setopt(h, CURLOPT_HTTPGET, 1L) == CURLE_OK &&
      curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https") == CURLE_OK &&
      curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "http,https") == CURLE_OK &&
      curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L) == CURLE_OK &&
      curl_easy_setopt(h, CURLOPT_MAXREDIRS, limits.maxRedirects) == CURLE_OK &&
      curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS,
                       static_cast<long>(limits.connectTimeout.count())) == CURLE_OK &&
      curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, static_cast<long>(limits.totalTimeout.count())) ==
          CURLE_OK &&
      curl_easy_setopt(h, CURLOPT_MAXFILESIZE_LARGE,
                       static_cast<curl_off_t>(limits.maxBodyBytes)) == CURLE_OK &&
      curl_easy_setopt(h, CURLOPT_ACCEPT_ENCODING, "gzip, deflate") == CURLE_OK &&
      curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L) == CURLE_OK &&
      curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, &OnBodyBytes) == CURLE_OK &&
      curl_easy_setopt(h, CURLOPT_WRITEDATA, &transfer) == CURLE_OK &&
      curl_easy_setopt(h, CURLOPT_HEADERFUNCTION, &OnHeaderBytes) == CURLE_OK &&
      curl_easy_setopt(h, CURLOPT_HEADERDATA, &transfer) == CURLE_OK &&
      curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L) == CURLE_OK &&
      curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, &OnProgress) == CURLE_OK &&
      curl_easy_setopt(h, CURLOPT_XFERINFODATA, &transfer) == CURLE_OK;
  if (configured && headerList) {
    configured = curl_easy_setopt(h, CURLOPT_HTTPHEADER, headerList.get()) == CURLE_OK;
  }
  if (configured) configured = curl_easy_setopt(h, CURLOPT_ERRORBUFFER, errorText) == CURLE_OK;
  const std::string caBundle = CaBundleFromEnvironment();
  if (configured && !caBundle.empty())
    configured = curl_easy_setopt(h, CURLOPT_CAINFO, caBundle.c_str()) == CURLE_OK;
  if (!configured) return failed(curl_easy_strerror(CURLE_FAILED_INIT));
#if LIBCURL_VERSION_NUM >= 0x075700
  // A cancelled transfer does not wait for a name lookup still under way: libcurl would join
  // its lookup thread, which a resolver that does not answer holds for its whole timeout (ten
  // seconds and more), keeping the next page waiting and the window from closing. The lookup
  // thread is left to end on its own, and frees what it holds then.
  curl_easy_setopt(h, CURLOPT_QUICK_EXIT, 1L);
#endif

  transfer.lastByte = Clock::now();
  const CURLcode result = Perform(h, cancel);
  if (Cancelled(cancel)) return failed("cancelled", LoadFailure::kCancelled);
  if (transfer.tooLarge || result == CURLE_FILESIZE_EXCEEDED) {
    return failed("the page is larger than " + std::to_string(limits.maxBodyBytes) + " bytes",
                  LoadFailure::kTooLarge);
  }
  if (transfer.outOfMemory) return failed(curl_easy_strerror(CURLE_OUT_OF_MEMORY));
  if (transfer.stalled) {
    const long long ms = limits.stallTimeout.count();
    return failed("no data arrived for " + (ms % 1000 == 0 ? std::to_string(ms / 1000) + " s"
                                                           : std::to_string(ms) + " ms"),
                  LoadFailure::kTimedOut);
  }
  if (result != CURLE_OK)
    return failed(errorText[0] != '\0' ? errorText : curl_easy_strerror(result), FailureOf(result));

  long status = 0;
  curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &status);
  char* contentType = nullptr;
  curl_easy_getinfo(h, CURLINFO_CONTENT_TYPE, &contentType);
  char* effectiveUrl = nullptr;
  curl_easy_getinfo(h, CURLINFO_EFFECTIVE_URL, &effectiveUrl);

  response.ok = true;
  response.status = status;
  if (contentType != nullptr) response.contentType = contentType;
  if (effectiveUrl != nullptr) response.effectiveUrl = effectiveUrl;
  response.body = std::move(transfer.body);
  return response;
}

}  // namespace

HttpResponse HttpGet(const std::string& url, const std::vector<std::string>& headers,
                     const NetworkLimits& limits, const std::atomic<bool>* cancel) {
  try {
    return HttpGetUnguarded(url, headers, limits, cancel);
  } catch (...) {
    // Out of memory while growing the body, and the like: a failed transfer.
    HttpResponse failed;
    failed.error = curl_easy_strerror(CURLE_OUT_OF_MEMORY);
    failed.failure = LoadFailure::kOther;
    return failed;
  }
}

}  // namespace langxing
