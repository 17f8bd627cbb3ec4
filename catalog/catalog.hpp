// SPDX-License-Identifier: GPL-3.0-or-later
// The three-level catalog (program name, category, channel) built from the channel list, and
// the look-ups a click on a channel node makes.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace langxing {

// The 14 fixed categories in display order; a line belongs to a category when it contains the
// category name followed directly by "_".
extern const std::array<std::u16string_view, 14> CatalogCategories;

inline constexpr std::u16string_view CatalogRootText = u"朗星快报";
inline constexpr std::u16string_view CatalogPathSeparator = u"\\";

struct CatalogNode {
  std::u16string text;
  std::vector<CatalogNode> children;
};

// The channel name of a line: ExtractBetween(line, "_", "--").
std::u16string ChannelNameOf(std::u16string_view line);

// Root "朗星快报", the 14 categories in table order, under each the channel nodes of the lines
// carrying its marker, in list order.
CatalogNode BuildCatalogTree(const std::vector<std::u16string>& channelList);

// The index of the first line that contains `channelText` anywhere, or none.
std::optional<std::size_t> FindChannelLine(const std::vector<std::u16string>& channelList,
                                           std::u16string_view channelText);

// Everything after the first "--" of the line (without "--": the line less its first character).
std::u16string ChannelUrlOf(std::u16string_view line);

// The channel text of a node's full path ("root\category\channel"): the third piece of the
// path split at "\", or none when the path has no third piece.
std::optional<std::u16string> ChannelTextOfPath(std::u16string_view fullPath);

}  // namespace langxing
