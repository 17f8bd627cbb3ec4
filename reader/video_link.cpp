// SPDX-License-Identifier: GPL-3.0-or-later
#include "reader/video_link.hpp"

#include "reader/article_markup.hpp"

namespace langxing {

std::string VideoLinkMarkup(std::string_view title, std::string_view poster,
                            std::string_view page) {
  std::string inner;
  if (!poster.empty()) inner += "<img src=\"" + EscapedAttribute(poster) + "\" alt=\"\"><br />";
  inner += title.empty() ? std::string("观看视频") : "视频：" + EscapedText(title);
  std::string markup = "<p style=\"text-align:center\">";
  if (page.empty()) {
    markup += inner;
  } else {
    markup += "<a href=\"" + EscapedAttribute(page) + "\" target=\"_blank\">" + inner + "</a>";
  }
  return markup + "</p>";
}

}  // namespace langxing
