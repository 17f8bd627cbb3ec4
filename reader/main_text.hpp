// SPDX-License-Identifier: GPL-3.0-or-later
// Reading the main text of a page whose template the program does not know: the block of the
// parsed page that holds the most running text (long, punctuated paragraphs, few links, no
// name of navigation, lists or ads), with the paragraphs beside it that belong with it.
#pragma once

#include <string>

#include "core/html_element.hpp"

namespace langxing {

// The page's title and date line (page_heading.hpp) and its main text, as markup for the reader
// page; navigation, share bars, recommendation and hot lists, comments, ads and the footer are
// left out. Empty when no block holds running text.
std::u16string MainTextArticle(const HtmlPage& html);

}  // namespace langxing
