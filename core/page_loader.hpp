// SPDX-License-Identifier: GPL-3.0-or-later
// The headless page loader behind the hidden views WebBrowser1 and WebBrowser3.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/html_serializer.hpp"
#include "core/http.hpp"
#include "core/latest_request_worker.hpp"

namespace langxing {

// Runs a task on the UI thread; app/ gives one that posts to the Qt event loop. It must queue
// the task, never run it before returning: the loader calls it from its worker thread.
using UiPoster = std::function<void(std::function<void()>)>;

// A request whose answer is kept as sent (a data text), not read as a page: its address and
// the header lines ("Name: value") it must carry.
struct DataRequest {
  std::u16string url;
  std::vector<std::string> headers;
};

// Asked at each navigation: an address it gives a request for is not loaded as a page; that
// request is fetched instead. Also asked on the worker thread: a page that was loaded with
// success (a 2xx answer), with its address (after redirects), bytes, Content-Type and body
// texts; a request it gives is fetched next, in the same navigation, its answer kept beside the
// page's. Whoever creates the loader knows which addresses and pages these are.
struct DataSources {
  std::function<std::optional<DataRequest>(std::u16string_view address)> rewriteAddress;
  std::function<std::optional<DataRequest>(std::u16string_view pageAddress, std::string_view bytes,
                                           std::string_view contentType, const BodyTexts& texts)>
      findInPage;
};

// Navigate fetches on a worker thread with the network rules of HttpGet, decodes and
// serialises the page there, and raises DocumentComplete through the poster once per
// navigation, also for a failed load (then the document is empty). A new navigation
// supersedes the one in flight: its transfer is cancelled and its result dropped, never
// delivered late. The worker is stopped and joined when the loader goes away.
// An address `sources.rewriteAddress` rewrites is not loaded as a page: its request is fetched
// and the answer kept for DataText; the document stays empty. A page `sources.findInPage`
// names a request on is loaded as a page and then that request is fetched.
class PageLoader final {
 public:
  // `parts`: the body texts the view's reader asks for; the others stay empty.
  explicit PageLoader(UiPoster poster, NetworkLimits limits = {},
                      BodyParts parts = BodyParts::kBoth, DataSources sources = {});
  ~PageLoader();
  PageLoader(const PageLoader&) = delete;
  PageLoader& operator=(const PageLoader&) = delete;

  // Starts loading and returns at once; DocumentComplete reports the end on the UI thread.
  void Navigate(const std::u16string& url);
  // Drops the loaded page: "about:blank" gives an empty document.
  void Navigate2(const std::u16string& url) { Navigate(url); }
  // The address of the last completed navigation.
  std::u16string LocationURL() const;
  // The body of that document, serialised; empty for an empty or failed document.
  std::u16string BodyInnerHtml() const;
  std::u16string BodyInnerText() const;
  // Why the page of the last completed navigation could not be loaded (HttpResponse::error);
  // empty when it was loaded.
  std::string LoadError() const;
  // The kind of that failure; LoadFailure::kNone when the page was loaded.
  LoadFailure LoadFailureKind() const;
  // When the last completed navigation fetched a data request (DataSources): its answer as
  // sent, empty when it failed or answered with an HTTP error. None for any other navigation.
  std::optional<std::string> DataText() const;

  std::function<void()> DocumentComplete;  // once per navigation, on the UI thread

 private:
  struct State;
  std::shared_ptr<State> state_;
  LatestRequestWorker worker_;
};

}  // namespace langxing
