// SPDX-License-Identifier: GPL-3.0-or-later
// Pages too large or too binary to keep as files, made in code. The fixture manifest names
// them with a leading "@" in place of a file.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "tests/portal/test_portal.hpp"

namespace langxing::testportal {

inline constexpr int kHugeListingRows = 10'000;
inline constexpr std::size_t kBigArticleBytes = 3u * 1024u * 1024u;

// "@huge_listing"   a listing of kHugeListingRows headlines (GBK), titles "海量新闻第N条" with
//                   N from 1, each linking to http://news.sina.com.cn/huge/N.shtml
// "@big_article"    a general news article of at least kBigArticleBytes GBK bytes
// "@image.png", "@image.gif", "@image.bmp"  small solid pictures
std::optional<Page> GeneratedPage(std::string_view name);

}  // namespace langxing::testportal
