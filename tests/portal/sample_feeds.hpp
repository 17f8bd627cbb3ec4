// SPDX-License-Identifier: GPL-3.0-or-later
// The sample portal's roll feeds: for a channel of today's portal, the JSON its feed answers,
// in today's format, with generated headlines of the channel's category.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "tests/portal/sample_portal.hpp"

namespace langxing::testportal {

inline constexpr int kSampleFeedItems = 30;

// The feed's answer for the channel (code 0, `items` items, newest first). Each item's
// url is an article page of today's template: https://HOST/c/2026-12-09/doc-iTOKEN.shtml, with
// HOST finance.sina.com.cn for finance channels, tech.sina.com.cn for tech channels and
// news.sina.com.cn for the others.
std::string SampleFeed(const Channel& channel, int channelIndex, int items = kSampleFeedItems);

// One headline of that feed, as its article page should tell it.
struct SampleFeedItem {
  std::string url;
  std::string subject;  // what the headline is about
  std::string title;    // the subject and what happened
  std::string source;   // the medium that reported it
};
std::vector<SampleFeedItem> SampleFeedItems(const Channel& channel, int channelIndex,
                                            int items = kSampleFeedItems);

// A channel page of today's portal that names its own feed in its inline config rather than in
// its address (UTF-8 markup), for the channel addresses known to be such pages, as
// https://news.sina.com.cn/china/ (pageid 121, lid 1356); none for any other address.
std::optional<std::string> SampleFeedNamingPage(const Channel& channel);

}  // namespace langxing::testportal
