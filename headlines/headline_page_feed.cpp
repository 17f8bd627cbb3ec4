// SPDX-License-Identifier: GPL-3.0-or-later
#include "headlines/headline_page_feed.hpp"

#include <string>

#include "core/html_charset.hpp"
#include "core/text.hpp"
#include "headlines/headlines.hpp"
#include "headlines/roll_feed_page.hpp"

namespace langxing {

std::optional<RollFeedRequest> FeedOfHeadlinePage(std::u16string_view pageAddress,
                                                  std::string_view bytes,
                                                  std::string_view contentType,
                                                  const BodyTexts& texts) {
  if (!ParseHeadlines(texts.innerHtml, DefaultTitleStartMarker).empty()) return std::nullopt;
  return RollFeedRequestOfPage(pageAddress, DecodePageToUtf8(bytes, contentType));
}

DataRequest LoaderRequestOf(const RollFeedRequest& feed) {
  return {feed.feedUrl,
          {"Referer: " + Utf16ToUtf8(feed.referer), "User-Agent: " + std::string(RollFeedUserAgent),
           "Accept: application/json, */*"}};
}

DataSources HeadlineFeedSources() {
  DataSources sources;
  sources.rewriteAddress = [](std::u16string_view address) -> std::optional<DataRequest> {
    const auto feed = RollFeedRequestOf(address);
    if (!feed) return std::nullopt;
    return LoaderRequestOf(*feed);
  };
  sources.findInPage = [](std::u16string_view pageAddress, std::string_view bytes,
                          std::string_view contentType,
                          const BodyTexts& texts) -> std::optional<DataRequest> {
    const auto feed = FeedOfHeadlinePage(pageAddress, bytes, contentType, texts);
    if (!feed) return std::nullopt;
    return LoaderRequestOf(*feed);
  };
  return sources;
}

}  // namespace langxing
