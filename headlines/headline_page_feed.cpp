// SPDX-License-Identifier: GPL-3.0-or-later
#include "headlines/headline_page_feed.hpp"

#include "core/html_charset.hpp"
#include "core/roll_feed_page.hpp"
#include "headlines/headlines.hpp"

namespace langxing {

std::optional<RollFeedRequest> FeedOfHeadlinePage(std::u16string_view pageAddress,
                                                  std::string_view bytes,
                                                  std::string_view contentType,
                                                  const BodyTexts& texts) {
  if (!ParseHeadlines(texts.innerHtml, DefaultTitleStartMarker).empty()) return std::nullopt;
  return RollFeedRequestOfPage(pageAddress, DecodePageToUtf8(bytes, contentType));
}

}  // namespace langxing
