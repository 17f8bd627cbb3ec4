// SPDX-License-Identifier: GPL-3.0-or-later
// Turning an article address into the reader page shown in the article view.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/downloader.hpp"
#include "core/status_texts.hpp"

namespace langxing {

struct ReaderSettings {
  std::uint8_t showImages = 1;             // 0 hides images
  std::uint8_t showVideo = 0;              // 0 hides video players
  std::u16string backgroundColour = u"0";  // the colour text, used verbatim
  std::int16_t fontSize = 14;              // the article's font size, in pixels
};

// Downloads the page, decoded by the charset it names (where it names none: "utf-8" on the blog
// host, "GB2312" elsewhere), cuts the article out by the kind of page, wraps and restyles it and
// appends the source line; the failure page when nothing was cut out. Writes its progress
// through `setStatus`. `cancel`, when given and set, aborts the download (the render then goes
// on with an empty page).
std::u16string RenderArticle(std::u16string_view url, const ReaderSettings& settings,
                             Downloader& downloader, const StatusWriter& setStatus,
                             const std::atomic<bool>* cancel = nullptr);

// The failure page for `url`, in the settings' background colour and font size, with a link
// to the original page and a retry link (the in-page address "#" ArticleRetryFragment).
std::u16string ArticleFailurePage(std::u16string_view url, const ReaderSettings& settings = {});

// The fragment of the failure page's retry link.
inline constexpr std::u16string_view ArticleRetryFragment = u"langxing-retry";

}  // namespace langxing
