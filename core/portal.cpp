// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/portal.hpp"

#define LANGXING_U16_(s) u"" s
#define LANGXING_U16(s) LANGXING_U16_(s)

namespace langxing {

const std::u16string_view PortalDomain = LANGXING_U16(LANGXING_PORTAL_DOMAIN);
const std::u16string_view PortalBlogHost = LANGXING_U16(LANGXING_PORTAL_BLOG_HOST);
const std::u16string_view PortalAutoHost = LANGXING_U16(LANGXING_PORTAL_AUTO_HOST);
const std::u16string_view PortalVideoHost = LANGXING_U16(LANGXING_PORTAL_VIDEO_HOST);
const std::u16string_view PortalMobileDomain = LANGXING_U16(LANGXING_PORTAL_MOBILE_DOMAIN);
const std::u16string_view UpdatePageUrl = LANGXING_U16(LANGXING_UPDATE_PAGE_URL);
const std::u16string_view ProgramVersion = LANGXING_U16(LANGXING_VERSION);
const bool UpdateCheckEnabled = LANGXING_UPDATE_CHECK != 0;

}  // namespace langxing
