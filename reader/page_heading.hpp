// SPDX-License-Identifier: GPL-3.0-or-later
// What a portal page says about itself around its text: title, date and source, summary and
// picture, from its meta tags and the elements its templates show them in.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/html_element.hpp"

namespace langxing {

struct PageHeading {
  // og:title, else the first <h1> outside navigation and logos, else <title> without the
  // site's name ("…_新浪网", "…|新浪新闻").
  std::optional<std::string> title;
  // .date-source, else the date (.time-source, #pub_date, time.weibo_time) and the source
  // (h2.weibo_user), else article:published_time and article:author.
  std::optional<std::string> dateLine;
  std::optional<std::string> summary;  // og:description, else description
  std::optional<std::string> picture;  // og:image
  // The elements the title and date line were read from: a body written after them leaves
  // them out.
  std::vector<HtmlElement> shown;
};

PageHeading ReadPageHeading(const HtmlPage& html);

// `title` without the trailing parts that name the site: the parts after "_", "|", "｜" or
// " - " that hold "新浪" or "sina". The whole title when every part names the site.
std::string WithoutSiteName(std::string_view title);

}  // namespace langxing
