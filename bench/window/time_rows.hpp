// SPDX-License-Identifier: GPL-3.0-or-later
// The timed rows: each runs the real window and its floor in one process, alternating, against
// one local portal, and prints the medians after a warm-up.
#pragma once

#include <cstddef>
#include <string>

namespace windowbench {

// A channel click until List2 is filled ("状态：空闲"), against one libcurl GET of the listing
// plus gumbo's parse of it. `listingBytes`: the size of the listing page.
int ListRow(int argc, char** argv, const std::string& row, std::size_t listingBytes, int reps);

// The same for a channel of today's portal: a roll page whose feed holds `items` headlines,
// against one libcurl GET of the feed plus a JSON parse of it.
int FeedListRow(int argc, char** argv, const std::string& row, int items, int reps);

// A headline click (or, with `swatch`, a colour swatch press) until the article has been
// painted in WebBrowser2, against a bare web view loading the same reader page from the portal.
// With `today`, the article is a page in today's template.
int ArticleRow(int argc, char** argv, const std::string& row, std::size_t articleBytes, int reps,
               bool swatch, bool today = false);

}  // namespace windowbench
