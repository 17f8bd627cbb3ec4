// SPDX-License-Identifier: GPL-3.0-or-later
// How a headline view's page loader reaches today's roll feed: an address that names the feed
// is fetched as the feed, and a loaded headline page is read through the feed it names for
// itself only where the classic cut finds no headline on it, so that a listing page stays a
// listing.
#pragma once

#include <optional>
#include <string_view>

#include "core/html_serializer.hpp"
#include "core/page_loader.hpp"
#include "headlines/roll_feed_address.hpp"

namespace langxing {

// The feed the page at `pageAddress` names (RollFeedRequestOfPage, on the page decoded by its
// own charset), when its body markup gives no headline entry; none otherwise.
std::optional<RollFeedRequest> FeedOfHeadlinePage(std::u16string_view pageAddress,
                                                  std::string_view bytes,
                                                  std::string_view contentType,
                                                  const BodyTexts& texts);

// The loader's request for a feed: its address with the Referer it insists on, a browser's
// User-Agent and a JSON Accept.
DataRequest LoaderRequestOf(const RollFeedRequest& feed);

// What the headline views give their page loader: addresses that name the feed
// (RollFeedRequestOf) and pages that name it (FeedOfHeadlinePage) bring the feed's JSON.
DataSources HeadlineFeedSources();

}  // namespace langxing
