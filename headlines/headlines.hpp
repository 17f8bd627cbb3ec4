// SPDX-License-Identifier: GPL-3.0-or-later
// Cutting the headline entries out of a listing page's body markup.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace langxing {

inline constexpr std::u16string_view HeadlineRegionStart = u"<TR bgColor=#eeeeee>";
inline constexpr std::u16string_view HeadlineRegionEnd =
    u"<TD height=20></TD></TR></TBODY></TABLE></CENTER>";
inline constexpr std::u16string_view HeadlineRowSeparator = u"</SPAN></TD></TR>";
inline constexpr std::u16string_view HeadlineTitleEnd = u"</B></TD></TR>";
inline constexpr std::u16string_view HeadlineLinkStart = u"<A href=";
inline constexpr std::u16string_view HeadlineLinkEnd = u"target=_blank>http";
// The initial text of Text2, the title start marker.
inline constexpr std::u16string_view DefaultTitleStartMarker =
    u"<TD style=\"PADDING-LEFT: 5px; PADDING-TOP: 5px\" height=30><B>";
inline constexpr std::u16string_view ApologyLine = u"抱歉！目前暂没发现新的消息";

// The pieces of the headline region, split at every row separator (none for an empty region).
std::vector<std::u16string> HeadlineRows(std::u16string_view innerHtml);

// One entry per row, "title;link", in page order; rows giving exactly ";" are left out.
std::vector<std::u16string> HeadlineEntriesOfRows(const std::vector<std::u16string>& rows,
                                                  std::u16string_view titleStartMarker);

// Both steps in one.
std::vector<std::u16string> ParseHeadlines(std::u16string_view innerHtml,
                                           std::u16string_view titleStartMarker);

}  // namespace langxing
