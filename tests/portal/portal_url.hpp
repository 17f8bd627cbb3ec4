// SPDX-License-Identifier: GPL-3.0-or-later
// Address handling of the portal: how a request names a page and how pages are keyed.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace langxing::testportal {

// Scheme and host in lower case, the default port dropped, "/" for an empty path, no fragment.
// Path and query are kept byte for byte.
std::string NormaliseUrl(std::string_view url);

// The keys a request URL is looked up under, in order: the normalised URL, then the same
// without trailing blanks or "%20" (a link scraped with its trailing blank still finds its page).
std::vector<std::string> LookupKeys(std::string_view url);

// The absolute URL a request asks for: the target itself in absolute form (a proxy request),
// otherwise "http://" + Host header + target.
std::string AbsoluteUrlOf(std::string_view target, std::string_view hostHeader);

// For a URL on `redirectHost` whose query holds "url=", the address after the first "url=".
std::optional<std::string> RedirectTarget(std::string_view url, std::string_view redirectHost);

// The host part of an absolute URL (lower case, without port); empty when there is none.
std::string HostOf(std::string_view url);

}  // namespace langxing::testportal
