// SPDX-License-Identifier: GPL-3.0-or-later
// What the reader page shows for a video it cannot play: the video's poster and title as a link
// to the page that plays it.
#pragma once

#include <string>
#include <string_view>

namespace langxing {

// A centred block: the poster (when there is one) and "视频：" + title (or "观看视频"), both a
// link to `page` that opens outside the view. Every value is escaped here; `poster` and `page`
// must already be absolute web addresses (an empty page gives no link).
std::string VideoLinkMarkup(std::string_view title, std::string_view poster, std::string_view page);

}  // namespace langxing
