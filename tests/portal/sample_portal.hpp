// SPDX-License-Identifier: GPL-3.0-or-later
// The offline sample portal: for every channel of a channel file, a listing of headlines that
// lead through the portal's redirect address to generated articles of all three kinds (general
// news, auto section, blog), with their pictures and the program's announcement page. A channel
// of today's portal (a roll page or roll feed address) gets its feed instead (sample_feeds.hpp).
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "tests/portal/test_portal.hpp"

namespace langxing::testportal {

inline constexpr int kSampleHeadlinesPerChannel = 24;

struct Channel {
  std::string category;  // text before the first "_" (empty when there is none)
  std::string name;      // text between the first "_" and the first "--"
  std::string address;   // text after the first "--", blanks trimmed
};

// The channel lines of a channel file: lines with "--" followed by an http:// or https:// address.
// The bytes are read as UTF-8 when they are valid UTF-8, otherwise as GBK; CR LF, CR and LF all end
// a line.
std::vector<Channel> ReadChannels(std::string_view fileBytes);

// Every page of the sample portal, keyed by absolute address, the announcement page included.
std::map<std::string, Page> SamplePages(const std::vector<Channel>& channels);

}  // namespace langxing::testportal
