// SPDX-License-Identifier: GPL-3.0-or-later
// A downloaded article page as UTF-8, decoded by the page's own declaration, for the readers
// that parse it (today's template, the general reading).
#pragma once

#include <string>

#include "core/downloader.hpp"

namespace langxing {

// The page's bytes decoded by its own charset (HTTP header, byte-order mark, <meta>); a page that
// declares GBK (or nothing) but whose bytes are all well-formed UTF-8 is read as UTF-8. Without
// bytes, `page.text` is taken.
std::string PageAsUtf8(const DownloadedPage& page);

}  // namespace langxing
