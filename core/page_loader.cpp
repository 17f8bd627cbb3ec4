// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/page_loader.hpp"

#include <cstdint>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

#include "core/ascii.hpp"
#include "core/html_document.hpp"
#include "core/text.hpp"

namespace langxing {
namespace {

// "about:blank" as a browser recognises it: ASCII case ignored, surrounding blanks ignored.
bool IsAboutBlank(std::u16string_view url) {
  const std::u16string trimmed = TrimSpaces(url);
  return ascii::EqualsIgnoringCase(trimmed, u"about:blank");
}

}  // namespace

// Everything the worker's tasks and the posted completions share. Completions only hold a weak
// reference and find `owner` cleared once the loader is gone.
struct PageLoader::State : std::enable_shared_from_this<PageLoader::State> {
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
  // Guarded by `mutex`.
  std::uint64_t generation = 0;  // the navigation whose result may still be delivered
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

  Result LoadPage(const std::string& url, const std::atomic<bool>& cancel) const {
    Result result;
    const HttpResponse response = HttpGet(url, {}, limits, &cancel);
    result.error = response.error;
    result.failure = response.failure;
    if (!response.ok || cancel.load()) return result;
    result.texts = BodyTextsOfPage(response.body, response.contentType, &cancel, parts);
    const bool success = response.status >= 200 && response.status < 300;
    if (!sources.findInPage || !success || cancel.load()) return result;
    const std::string& address = response.effectiveUrl.empty() ? url : response.effectiveUrl;
    const auto data =
        sources.findInPage(Utf8ToUtf16(address), response.body, response.contentType, result.texts);
    if (!data) return result;
    // The page stays the document; the request it names brings the data (or why it did not come).
    Result fetched = LoadData(*data, cancel);
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

  // Navigation `forGeneration`'s load, run on the worker. Its completion is posted unless a
  // later navigation has superseded it meanwhile; the state's lock is held while posting, so
  // a navigation can not slip in between the check and the post.
  void Load(std::uint64_t forGeneration, const std::string& url,
            const std::optional<DataRequest>& data, const std::atomic<bool>& cancel) {
    Result result;
    try {
      result = data ? LoadData(*data, cancel) : LoadPage(url, cancel);
    } catch (...) {
      // A page that cannot be read completes as an empty document.
      result.texts = {};
      if (data) result.data.emplace();
    }
    const std::lock_guard lock(mutex);
    if (owner == nullptr || forGeneration != generation) return;  // dropped, never late
    try {
      if (poster) poster(Completion(forGeneration, std::move(result)));
    } catch (...) {
      // A poster that cannot take the task leaves nothing to deliver to.
    }
  }
};

PageLoader::PageLoader(UiPoster poster, NetworkLimits limits, BodyParts parts, DataSources sources)
    : state_(std::make_shared<State>(std::move(poster), limits, parts, std::move(sources))) {
  state_->owner = this;
}

PageLoader::~PageLoader() {
  {
    const std::lock_guard lock(state_->mutex);
    state_->owner = nullptr;
  }
  // A transfer stops within moments of its cancel; a parse under way ends within its bound.
  // Once joined, nothing reaches the poster any more.
  worker_.Stop();
}

void PageLoader::Navigate(const std::u16string& url) {
  // The creator's hook runs outside the lock.
  std::optional<DataRequest> data;
  if (state_->sources.rewriteAddress) data = state_->sources.rewriteAddress(url);
  std::uint64_t generation = 0;
  {
    const std::lock_guard lock(state_->mutex);
    generation = ++state_->generation;
    state_->location = url;
  }
  if (IsAboutBlank(url)) {
    // An empty document needs no network; it completes through the UI queue like any page.
    worker_.CancelAll();
    if (state_->poster) state_->poster(state_->Completion(generation, State::Result{}));
    return;
  }
  worker_.Post([state = state_, generation, address = Utf16ToUtf8(url),
                data = std::move(data)](const std::atomic<bool>& cancel) {
    state->Load(generation, address, data, cancel);
  });
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
