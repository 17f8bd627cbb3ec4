// SPDX-License-Identifier: GPL-3.0-or-later
#include "headlines/headlines.hpp"

#include "core/text.hpp"

namespace langxing {

std::vector<std::u16string> HeadlineRows(std::u16string_view innerHtml) {
  const std::u16string region = ExtractBetween(innerHtml, HeadlineRegionStart, HeadlineRegionEnd);
  return SplitAll(region, HeadlineRowSeparator);
}

std::vector<std::u16string> HeadlineEntriesOfRows(const std::vector<std::u16string>& rows,
                                                  std::u16string_view titleStartMarker) {
  std::vector<std::u16string> entries;
  for (const std::u16string& row : rows) {
    std::u16string entry = ExtractBetween(row, titleStartMarker, HeadlineTitleEnd);
    entry += u';';
    entry += ExtractBetween(row, HeadlineLinkStart, HeadlineLinkEnd);
    // A row with neither title nor link (the table's tail, a spacer row) gives nothing.
    if (entry != u";") entries.push_back(std::move(entry));
  }
  return entries;
}

std::vector<std::u16string> ParseHeadlines(std::u16string_view innerHtml,
                                           std::u16string_view titleStartMarker) {
  return HeadlineEntriesOfRows(HeadlineRows(innerHtml), titleStartMarker);
}

}  // namespace langxing
