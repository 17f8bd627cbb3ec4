// SPDX-License-Identifier: GPL-3.0-or-later
// The headless page loader behind the hidden views WebBrowser1 and WebBrowser3.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "core/html_serializer.hpp"
#include "core/http.hpp"
#include "core/roll_feed_address.hpp"

namespace langxing {

// Runs a task on the UI thread; app/ gives one that posts to the Qt event loop. It must queue
// the task, never run it before returning: the loader calls it from its worker thread.
using UiPoster = std::function<void(std::function<void()>)>;

// Asked on the worker thread about a page that was loaded with success (a 2xx answer): its
// address (after redirects), bytes, Content-Type and body texts. A feed it answers with is
// fetched next, as for an address that names the feed, and its text kept beside the page's.
using PageFeedFinder = std::function<std::optional<RollFeedRequest>(
    std::u16string_view pageAddress, std::string_view bytes, std::string_view contentType,
    const BodyTexts& texts)>;

// Navigate fetches on a worker thread with the network rules of HttpGet, decodes and
// serialises the page there, and raises DocumentComplete through the poster once per
// navigation, also for a failed load (then the document is empty). A new navigation
// supersedes the one in flight: its result is dropped, never delivered late. The worker is
// stopped and joined when the loader goes away.
// An address that names today's roll feed (RollFeedRequestOf) is not loaded as a page: the
// feed is fetched with its Referer and a browser's User-Agent, and its JSON text is kept for
// RollFeedText; the document stays empty. A page that names its feed (`findPageFeed`) is
// loaded as a page and then its feed is fetched, in the same navigation.
class PageLoader final {
 public:
  // `parts`: the body texts the view's reader asks for; the others stay empty.
  explicit PageLoader(UiPoster poster, NetworkLimits limits = {},
                      BodyParts parts = BodyParts::kBoth, PageFeedFinder findPageFeed = {});
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
  // When the last completed navigation named a roll feed, by its address or on its page: the
  // feed's answer as sent (UTF-8 JSON), empty when it failed or answered with an HTTP error.
  // None for any other navigation.
  std::optional<std::string> RollFeedText() const;

  std::function<void()> DocumentComplete;  // once per navigation, on the UI thread

 private:
  struct State;
  std::shared_ptr<State> state_;
  std::thread worker_;
};

}  // namespace langxing
