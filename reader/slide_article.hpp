// SPDX-License-Identifier: GPL-3.0-or-later
// Reading a picture-gallery page (slide.<channel>.sina.com.cn): the page writes its pictures with
// a script from the inline object `var slide_data = {…}`, so without scripts it shows nothing.
#pragma once

#include <string>

#include "core/html_element.hpp"

namespace langxing {

// The page title as an <h1>, then every picture of slide_data's images (download_img) with its
// caption (intro) as the portal writes pictures in articles. Empty when the page holds no such
// object, it is no valid JSON, or it names no picture.
std::u16string SlideArticle(const HtmlPage& html);

}  // namespace langxing
