// SPDX-License-Identifier: GPL-3.0-or-later
// Flash players in an article: the view runs no plugins, so an <object> or <embed> of a .swf
// file shows as an empty box the player's size. The reader page shows the video's title and
// poster with a link to its page instead.
#pragma once

#include <string>
#include <string_view>

namespace langxing {

// Replaces every <object> (with its content) or lone <embed> in `body` that names a .swf file
// (any case) and plays one of the portal's videos (its movie on PortalVideoHost, or a "vid"
// among its parameters) by VideoLinkMarkup: the title from the player's title attribute or its
// flashvars, the poster and page from its flashvars or movie query (pic, poster, image, thumb;
// url, link, page), the page else the article's own address `articleUrl`. Everything else stays
// as it is, byte for byte.
void ReplaceFlashPlayers(std::u16string& body, std::u16string_view articleUrl);

}  // namespace langxing
