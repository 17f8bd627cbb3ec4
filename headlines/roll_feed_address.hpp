// SPDX-License-Identifier: GPL-3.0-or-later
// Today's portal lists its headlines through a JSON roll feed. A channel address may name that
// feed, either as a roll page whose fragment names it (as a browser shows the page) or as the
// feed's own address; this works out the request for the feed.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace langxing {

// The feed's fixed path on its host "feed.mix." + PortalDomain.
inline constexpr std::u16string_view RollFeedPath = u"/api/roll/get";
// What the feed is asked for where the address does not say: one page of 50 headlines.
inline constexpr std::u16string_view RollFeedDefaultNum = u"50";
inline constexpr std::u16string_view RollFeedDefaultPage = u"1";
// The feed refuses clients that do not look like the roll page's own script.
inline constexpr std::string_view RollFeedUserAgent =
    "Mozilla/5.0 (X11; Linux x86_64) AppleWebKit/537.36 (KHTML, like Gecko) "
    "Chrome/120.0.0.0 Safari/537.36";

struct RollFeedRequest {
  std::u16string feedUrl;  // scheme://feed.mix.<portal>/api/roll/get?pageid=P&lid=L&k=&num=N&page=n
  std::u16string referer;  // the roll page's origin with "/", which the feed insists on
};

// The feed request of a channel address, or none for any other (classic) address:
// - a roll page on the portal's domain (any host, any path) whose fragment holds
//   "pageid=P&lid=L" (num, page optional), as in
//   https://news.sina.com.cn/roll/#pageid=153&lid=2510; the feed is asked in the page's scheme,
//   with the page's origin as Referer;
// - the feed's own address, http or https, whose query holds pageid and lid; the Referer is
//   the news roll's origin (https://news.<portal>/).
// Other parameters (the random "r", "callback", a search word in "k") are not passed on: the
// feed is asked with an empty "k", as the roll pages ask it.
// pageid, lid, num and page are decimal numbers; num and page default to 50 and 1. Surrounding
// blanks are ignored, scheme and host compare without regard to case.
std::optional<RollFeedRequest> RollFeedRequestOf(std::u16string_view address);

// The feed request for the pair a page names about itself (roll_feed_page.hpp): the feed in the
// page's scheme, 50 headlines of page 1, with the page's own address (without its fragment) as
// Referer. None when the page is no http(s) address on the portal's domain or pageid or lid is
// no feed number.
std::optional<RollFeedRequest> RollFeedRequestNamedByPage(std::u16string_view pageAddress,
                                                          std::u16string_view pageid,
                                                          std::u16string_view lid);

}  // namespace langxing
