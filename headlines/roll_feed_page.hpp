// SPDX-License-Identifier: GPL-3.0-or-later
// Some of today's channel pages name their roll feed inside the page instead of in their
// address: the page's own script carries a config with the pageid and, in its first tab, the
// lid; a roll page lists its feeds as anchors of its channel list. This finds that pair and
// gives the feed request for it (roll_feed_address.hpp).
#pragma once

#include <optional>
#include <string_view>

#include "headlines/roll_feed_address.hpp"

namespace langxing {

// The feed the page at `pageAddress` names, read from its text (UTF-8), in this order:
// - an inline config: the first `pageid: N` of the page, with the first `lid: M` directly
//   inside its `firstTab: { … }` (keys and numbers may be quoted, as in JSON);
// - a channel list: the first anchor of `div#channelList` with both a `pageid` and an `s_id`
//   attribute, the s_id being the lid.
// None when the page names neither, or the pair is not one the feed could be asked for
// (RollFeedRequestNamedByPage). The page is the feed's Referer.
std::optional<RollFeedRequest> RollFeedRequestOfPage(std::u16string_view pageAddress,
                                                     std::string_view pageUtf8);

}  // namespace langxing
