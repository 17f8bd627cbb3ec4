// SPDX-License-Identifier: GPL-3.0-or-later
// The offline sample's articles in the portal's current template: any address
// https://{news,finance,tech}.sina.com.cn/.../doc-i<token>.shtml answers with a UTF-8 page made
// from the address (the same address always gives the same page), with its pictures.
#pragma once

#include <map>
#include <optional>
#include <string>

#include "tests/portal/test_portal.hpp"

namespace langxing::testportal {

// The generated article page for `absoluteUrl`; nullopt when it is not such an address.
std::optional<Page> SampleTodayArticle(const std::string& absoluteUrl);

// The same page telling a given headline: its subject, title and source (a feed's item).
struct TodayHeadline {
  std::string subject;
  std::string title;
  std::string source;
};
std::optional<Page> SampleTodayArticle(const std::string& absoluteUrl,
                                       const TodayHeadline& headline);

// The pictures those pages show, keyed by their https address.
std::map<std::string, Page> SampleTodayPictures();

}  // namespace langxing::testportal
