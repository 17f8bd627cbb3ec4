// SPDX-License-Identifier: GPL-3.0-or-later
// Reading a video page (video.sina.com.cn/p/…): its player is made by scripts the view does not
// run, so the page shows the video's title, summary and poster, and a player only when it has
// one the view can play and video is wanted.
#pragma once

#include <string>
#include <string_view>

#include "core/html_element.hpp"

namespace langxing {

// The title as an <h1>, the summary (og:description, description) as a paragraph, then, with
// `showVideo` and a <video> on the page, that video with controls and the poster; otherwise the
// poster (og:image, a <video>'s poster, a picture named "poster") with, under `showVideo`, a
// link to `pageUrl`. Empty when the page gives no title.
std::u16string VideoArticle(const HtmlPage& html, std::u16string_view pageUrl, bool showVideo);

}  // namespace langxing
