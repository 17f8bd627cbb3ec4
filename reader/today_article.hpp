// SPDX-License-Identifier: GPL-3.0-or-later
// Reading an article page in the portal's current template: UTF-8 (or whatever the page
// declares), the body in the element #article or #artibody, the title in h1.main-title and the
// date and source in .date-source.
#pragma once

#include <string>

#include "core/downloader.hpp"
#include "core/html_element.hpp"

namespace langxing {

// The article of `page` as markup for the reader page: the title as an <h1>, the date and
// source as a <p class="artInfo">, then the body without scripts, styles, ads and share or QR
// widgets, pictures at absolute addresses. Empty when the page holds no article element.
// The bytes are decoded by the page's own declaration; without bytes, `page.text` is read.
std::u16string TodayArticle(const DownloadedPage& page);

// The same over a page already parsed.
std::u16string TodayArticle(const HtmlPage& html);

}  // namespace langxing
