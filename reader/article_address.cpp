// SPDX-License-Identifier: GPL-3.0-or-later
#include "reader/article_address.hpp"

#include "core/text.hpp"

namespace langxing {

std::optional<std::u16string> ArticleUrlOfItem(std::u16string_view item) {
  // Listing links are redirects whose query carries the article address after "url=".
  if (const std::size_t p = item.find(u"url="); p != std::u16string_view::npos)
    return ReplaceAll(item.substr(p + 4), u"\"", u"");
  // A direct link: the part after the title's ";", if there is one.
  const std::size_t semicolon = item.find(u';');
  if (semicolon == std::u16string_view::npos) return std::nullopt;
  std::u16string link = TrimSpaces(ReplaceAll(item.substr(semicolon + 1), u"\"", u""));
  if (link.empty()) return std::nullopt;
  return link;
}

}  // namespace langxing
