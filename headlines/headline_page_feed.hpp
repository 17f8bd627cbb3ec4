// SPDX-License-Identifier: GPL-3.0-or-later
// Whether a loaded headline page is to be read through the roll feed it names for itself: only
// where the classic cut finds no headline on it, so that a listing page stays a listing.
#pragma once

#include <optional>
#include <string_view>

#include "core/html_serializer.hpp"
#include "core/roll_feed_address.hpp"

namespace langxing {

// The feed the page at `pageAddress` names (RollFeedRequestOfPage, on the page decoded by its
// own charset), when its body markup gives no headline entry; none otherwise. Shaped as the
// page loader's PageFeedFinder, which the headline views give their loader.
std::optional<RollFeedRequest> FeedOfHeadlinePage(std::u16string_view pageAddress,
                                                  std::string_view bytes,
                                                  std::string_view contentType,
                                                  const BodyTexts& texts);

}  // namespace langxing
