// SPDX-License-Identifier: GPL-3.0-or-later
// The headline entries of today's roll feed: its JSON answer read into "title;link" entries that
// the headline list holds and opens like the entries of a classic listing page.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace langxing {

// The feed's items sit five levels deep; an answer nested deeper than this is not read at all.
inline constexpr std::size_t RollFeedMaxNesting = 64;

// One entry per item of result.data with a title and an http(s) url, in feed order, when
// result.status.code is 0; no entries for anything else (another code, no data, not JSON,
// truncated or too deeply nested JSON). An entry is the title, ";" and "url=" + the item's url,
// so that opening it gives that url. The title is shown as text: HTML entities are decoded,
// line breaks and other control characters become one blank, blanks at either end go, and a
// "url=" in it is written "url＝" so that it cannot take the place of the link. The url loses
// surrounding blanks and any tab or line break, and '"', blanks and control characters in it
// are percent-encoded, as a browser sends them.
std::vector<std::u16string> RollFeedEntries(std::string_view json);

// One entry of the feed with the time its item was published.
struct RollFeedEntry {
  std::u16string entry;
  // The item's ctime, Unix seconds (a decimal string or a number); none when it has no
  // positive one.
  std::optional<std::int64_t> published;
};

// The entries of RollFeedEntries with their items' times.
std::vector<RollFeedEntry> RollFeedItems(std::string_view json);

}  // namespace langxing
