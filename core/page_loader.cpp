// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/page_loader.hpp"

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

#include "core/html_document.hpp"
#include "core/text.hpp"

namespace langxing {
namespace {

// "about:blank" as a browser recognises it: ASCII case ignored, surrounding blanks ignored.
bool IsAboutBlank(std::u16string_view url) {
  const std::u16string trimmed = TrimSpaces(url);
  constexpr std::u16string_view kBlank = u"about:blank";
  if (trimmed.size() != kBlank.size()) return false;
  for (std::size_t i = 0; i < kBlank.size(); ++i) {
    char16_t c = trimmed[i];
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    if (c != kBlank[i]) return false;
  }
  return true;
}

}  // namespace

// Everything the worker thread and the posted completions share. Completions only hold a weak
// reference and find `owner` cleared once the loader is gone.
struct PageLoader::State : std::enable_shared_from_this<PageLoader::State> {
  struct Request {
    std::uint64_t generation = 0;
    std::string url;
    std::optional<DataRequest> data;
    std::shared_ptr<std::atomic<bool>> cancel;
  };

  // What one navigation leaves for its completion.
  struct Result {
    BodyTexts texts;
    std::optional<std::string> data;
    std::string error;
    LoadFailure failure = LoadFailure::kNone;
  };

  State(UiPoster p, NetworkLimits l, BodyParts b, DataSources s)
      : poster(std::move(p)), limits(l), parts(b), sources(std::move(s)) {}

  const UiPoster poster;
  const NetworkLimits limits;
  const BodyParts parts;
  const DataSources sources;

  mutable std::mutex mutex;
  std::condition_variable wake;
  // Guarded by `mutex`.
  std::uint64_t generation = 0;  // the navigation whose result may still be delivered
  std::optional<Request> pending;
  std::shared_ptr<std::atomic<bool>> latestCancel;
  bool stopping = false;
  PageLoader* owner = nullptr;
  std::u16string location;
  BodyTexts document;
  std::optional<std::string> dataText;
  std::string loadError;
  LoadFailure loadFailure = LoadFailure::kNone;

  // The task that delivers the result of navigation `forGeneration` on the UI thread, unless a
  // later navigation or the loader's end has made it stale by the time the task runs.
  std::function<void()> Completion(std::uint64_t forGeneration, Result result) {
    return [weak = weak_from_this(), forGeneration, result = std::move(result)]() mutable {
      const auto state = weak.lock();
      if (!state) return;
      std::function<void()> handler;
      {
        std::lock_guard lock(state->mutex);
        if (state->owner == nullptr || forGeneration != state->generation) return;
        state->document = std::move(result.texts);
        state->dataText = std::move(result.data);
        state->loadError = std::move(result.error);
        state->loadFailure = result.failure;
        handler = state->owner->DocumentComplete;
      }
      // Called without the lock: the handler may well navigate again.
      if (handler) handler();
    };
  }

  Result LoadPage(const Request& request) const {
    Result result;
    const HttpResponse response = HttpGet(request.url, {}, limits, request.cancel.get());
    result.error = response.error;
    result.failure = response.failure;
    if (!response.ok || request.cancel->load()) return result;
    result.texts =
        BodyTextsOfPage(response.body, response.contentType, request.cancel.get(), parts);
    const bool success = response.status >= 200 && response.status < 300;
    if (!sources.findInPage || !success || request.cancel->load()) return result;
    const std::string& address =
        response.effectiveUrl.empty() ? request.url : response.effectiveUrl;
    const auto data =
        sources.findInPage(Utf8ToUtf16(address), response.body, response.contentType, result.texts);
    if (!data) return result;
    // The page stays the document; the request it names brings the data (or why it did not come).
    Result fetched = LoadData(*data, *request.cancel);
    fetched.texts = std::move(result.texts);
    return fetched;
  }

  // The answer as sent; an HTTP error's body is no data.
  Result LoadData(const DataRequest& data, const std::atomic<bool>& cancel) const {
    Result result;
    HttpResponse response = HttpGet(Utf16ToUtf8(data.url), data.headers, limits, &cancel);
    result.error = std::move(response.error);
    result.failure = response.failure;
    result.data.emplace();
    if (response.ok && response.status >= 200 && response.status < 300)
      *result.data = std::move(response.body);
    return result;
  }

  void RunWorker() {
    for (;;) {
      Request request;
      {
        std::unique_lock lock(mutex);
        wake.wait(lock, [this] { return stopping || pending.has_value(); });
        if (stopping) return;
        request = std::move(*pending);
        pending.reset();
      }
      Result result;
      try {
        result = request.data ? LoadData(*request.data, *request.cancel) : LoadPage(request);
      } catch (...) {
        // A page that cannot be read completes as an empty document.
        result.texts = {};
        if (request.data) result.data.emplace();
      }
      // The poster is called under the lock so that, once the destructor has taken it, nothing
      // reaches the poster (and whatever it posts to) any more.
      std::lock_guard lock(mutex);
      if (stopping) return;
      if (request.generation != generation) continue;  // superseded: dropped, never late
      try {
        if (poster) poster(Completion(request.generation, std::move(result)));
      } catch (...) {
        // A poster that cannot take the task leaves nothing to deliver to.
      }
    }
  }
};

PageLoader::PageLoader(UiPoster poster, NetworkLimits limits, BodyParts parts, DataSources sources)
    : state_(std::make_shared<State>(std::move(poster), limits, parts, std::move(sources))) {
  state_->owner = this;
  worker_ = std::thread([state = state_] { state->RunWorker(); });
}

PageLoader::~PageLoader() {
  {
    std::lock_guard lock(state_->mutex);
    state_->owner = nullptr;
    state_->stopping = true;
    state_->pending.reset();
    if (state_->latestCancel) state_->latestCancel->store(true);
    state_->wake.notify_all();
  }
  // A transfer stops within moments of its cancel; a parse under way ends within its bound.
  worker_.join();
}

void PageLoader::Navigate(const std::u16string& url) {
  auto cancel = std::make_shared<std::atomic<bool>>(false);
  // The creator's hook runs outside the lock.
  std::optional<DataRequest> data;
  if (state_->sources.rewriteAddress) data = state_->sources.rewriteAddress(url);
  std::uint64_t generation = 0;
  {
    std::lock_guard lock(state_->mutex);
    generation = ++state_->generation;
    if (state_->latestCancel) state_->latestCancel->store(true);
    state_->latestCancel = cancel;
    state_->pending.reset();
    state_->location = url;
    if (!IsAboutBlank(url)) {
      state_->pending = State::Request{generation, Utf16ToUtf8(url), std::move(data), cancel};
      state_->wake.notify_one();
      return;
    }
  }
  // An empty document needs no network; it completes through the UI queue like any page.
  if (state_->poster) state_->poster(state_->Completion(generation, State::Result{}));
}

std::u16string PageLoader::LocationURL() const {
  std::lock_guard lock(state_->mutex);
  return state_->location;
}

std::u16string PageLoader::BodyInnerHtml() const {
  std::lock_guard lock(state_->mutex);
  return state_->document.innerHtml;
}

std::u16string PageLoader::BodyInnerText() const {
  std::lock_guard lock(state_->mutex);
  return state_->document.innerText;
}

std::string PageLoader::LoadError() const {
  std::lock_guard lock(state_->mutex);
  return state_->loadError;
}

std::optional<std::string> PageLoader::DataText() const {
  std::lock_guard lock(state_->mutex);
  return state_->dataText;
}

LoadFailure PageLoader::LoadFailureKind() const {
  std::lock_guard lock(state_->mutex);
  return state_->loadFailure;
}

}  // namespace langxing
