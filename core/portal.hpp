// SPDX-License-Identifier: GPL-3.0-or-later
// Portal constants, compiled in from the build's cache variables.
#pragma once

#include <string_view>

namespace langxing {

extern const std::u16string_view PortalDomain;        // "sina.com.cn"
extern const std::u16string_view PortalBlogHost;      // "blog.sina.com.cn"
extern const std::u16string_view PortalAutoHost;      // "auto.sina.com.cn"
extern const std::u16string_view PortalVideoHost;     // "video.sina.com.cn"
extern const std::u16string_view PortalMobileDomain;  // "sina.cn", the mobile site
extern const std::u16string_view UpdatePageUrl;       // the announcement page on the blog host
// Whether the program reads the announcement page at all (the build's LANGXING_UPDATE_CHECK).
extern const bool UpdateCheckEnabled;

// The program's own name and version, as the window, the status bar and the update check use them.
// The version is the build's project version.
inline constexpr std::u16string_view ProgramName = u"朗星快报";
extern const std::u16string_view ProgramVersion;  // "1.2"

}  // namespace langxing
