// SPDX-License-Identifier: GPL-3.0-or-later
// Builders for the portal's pages in its 2010 markup: lower-case tags, loose quoting, CR LF line
// ends and tab indentation. They return UTF-8 text; the portal serves most pages as GBK.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace langxing::testportal {

struct Headline {
  std::string title;  // plain text
  std::string href;   // the anchor's address, also its visible text
};

// A headline listing in the old layout: the table opened by a row of colour #EEEEEE, a bold
// title row and an address row per headline, closed by an empty 20-pixel row.
std::string ListingMarkup(std::string_view pageTitle, const std::vector<Headline>& headlines);

struct Article {
  std::string title;
  std::string source;                   // e.g. 新华网
  std::string published;                // e.g. 2010年05月01日08:30
  std::vector<std::string> paragraphs;  // plain text
  std::vector<std::string> images;      // image addresses (.jpg, .bmp, .gif, ...)
  std::string imageCaption;             // caption under the first image
  std::string flash;                    // a .swf address, or empty
  std::string video;                    // a video player address, or empty
};

// General news: the article between "<!-- 内容列 begin -->" and "<!-- publish_helper_end -->".
std::string NewsArticleMarkup(const Article& article);
// Auto section: from the <h1 id="artibodyTitle"> title to "<!-- publish_helper_end -->".
std::string AutoArticleMarkup(const Article& article);
// Blog post (served as UTF-8): the body between "<!-- 正文开始 -->" and "<!-- 正文结束 -->".
std::string BlogArticleMarkup(const Article& article, std::string_view blogger);

// A blog post whose visible text carries `blockText` (e.g. "<new>...</new>") as literal text.
std::string AnnouncementMarkup(std::string_view blockText);

// & < > as character references.
std::string EscapeText(std::string_view text);

}  // namespace langxing::testportal
