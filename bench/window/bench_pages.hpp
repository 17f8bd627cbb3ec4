// SPDX-License-Identifier: GPL-3.0-or-later
// The pages the window benchmarks read: headline listings and general-news articles of a given
// size in the portal's markup, and the reader page the window writes for an article, as the
// bytes a plain web view loads from the portal to do the same work.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "reader/render_article.hpp"
#include "tests/portal/page_markup.hpp"
#include "tests/portal/test_portal.hpp"

namespace windowbench {

// An article address of the benchmark's own, on the portal's news host.
std::string ArticleAddress(const std::string& name);

// A GBK listing of at least `minBytes` bytes whose headlines lead to ArticleAddress("N") for
// N from 1; `count` receives how many it holds.
langxing::testportal::Page ListingOfSize(std::size_t minBytes, int* count);
// A GBK listing of exactly these headlines.
langxing::testportal::Page ListingOf(const std::vector<langxing::testportal::Headline>& headlines);

// A general-news article of at least `minBytes` GBK bytes with a picture every few
// paragraphs; `seed` varies its title and text, so that articles differ.
langxing::testportal::Page ArticleOfSize(std::size_t minBytes, int seed);

// The same in today's template: UTF-8, the body in #article under h1.main-title and the date
// line, with the scripts, ads and QR prompts the reader leaves out.
langxing::testportal::Page TodayArticleOfSize(std::size_t minBytes, int seed);

// The picture the articles show, and the page that serves it.
inline constexpr char PictureAddress[] = "http://i1.sinaimg.cn/dy/bench/picture.png";
langxing::testportal::Page PicturePage();

// The reader page the window writes for `articleAddress` with `settings`, downloaded through the
// proxy the environment names, as the bytes the written-page scheme serves (a byte-order mark
// and UTF-8, the article's address as its base), ready to be served from the portal.
langxing::testportal::Page ReaderPage(const std::string& articleAddress,
                                      const langxing::ReaderSettings& settings);

}  // namespace windowbench
