// SPDX-License-Identifier: GPL-3.0-or-later
// When a headline of a roll feed was published, as the headline list shows it before the title,
// so that a channel whose feed went stale shows its age.
#pragma once

#include <cstdint>
#include <string>

namespace langxing {

// `published` and `now` are Unix seconds, shown in the local time zone: "HH:MM" when both fall
// on the same local day, "MM-DD HH:MM" otherwise. Empty when the time cannot be shown.
std::u16string PublishedLabel(std::int64_t published, std::int64_t now);

}  // namespace langxing
