// SPDX-License-Identifier: GPL-3.0-or-later
// What a page's class and id names say about an element: the portal, like most sites, names its
// navigation, share bars, recommendation and hot lists, comments, ads and footers for what they
// are, and its article containers for theirs.
#pragma once

#include "core/html_element.hpp"

namespace langxing {

// Navigation, footer, share, recommendation, related, comment, ad, hot or list block, by its
// tag (nav, aside, footer), its class and id names, or the portal's ad marker (sax-type).
bool IsNamedAsClutter(const HtmlElement& element);

// A class or id name that article containers carry (article, content, main, text, body, ...).
bool IsNamedAsArticle(const HtmlElement& element);

}  // namespace langxing
