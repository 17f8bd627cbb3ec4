// SPDX-License-Identifier: GPL-3.0-or-later
// Reading a portal page that the classic cut finds no article in, from the bytes already
// downloaded: today's template first, then the gallery and video pages by their address, then
// the general main-text reading, each only where the ones before found nothing.
#pragma once

#include <string>
#include <string_view>

#include "core/downloader.hpp"

namespace langxing {

// The article as markup for the reader page (TodayArticle's form); empty when no reading finds
// one. `showVideo` decides whether a video page shows its player.
std::u16string PortalArticle(const DownloadedPage& page, std::u16string_view url, bool showVideo);

// Whether `url` is an address on the portal's mobile site (PortalMobileDomain or a host under
// it), which the classic rules, matching PortalDomain, count as outside the portal.
bool IsMobilePortalAddress(std::u16string_view url);

}  // namespace langxing
