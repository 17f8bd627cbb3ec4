// SPDX-License-Identifier: GPL-3.0-or-later
#include "headlines/headlines.hpp"

#include <gtest/gtest.h>

namespace langxing {
namespace {

using Entries = std::vector<std::u16string>;

// One listing row as the page view serialises it.
std::u16string Row(std::u16string_view title, std::u16string_view url) {
  return std::u16string(u"<TR>") + std::u16string(DefaultTitleStartMarker) + std::u16string(title) +
         u"</B></TD></TR><TR><TD><SPAN><A href=" + std::u16string(url) + u" target=_blank>" +
         std::u16string(url) + u"</A>" + std::u16string(HeadlineRowSeparator);
}

std::u16string Page(std::u16string_view rows) {
  return u"<CENTER><TABLE><TBODY><TR bgColor=#eeeeee><TD>标题</TD></TR>" + std::u16string(rows) +
         u"<TR>" + std::u16string(HeadlineRegionEnd) + u"<DIV>footer</DIV>";
}

TEST(Headlines, EntriesFollowThePageWithTheLinksTrailingSpace) {
  const std::u16string rows =
      Row(u"甲", u"http://a/1") + Row(u"乙;丙", u"http://a/2") + Row(u"甲", u"http://a/1");
  EXPECT_EQ(ParseHeadlines(Page(rows), DefaultTitleStartMarker),
            (Entries{u"甲;http://a/1 ", u"乙;丙;http://a/2 ", u"甲;http://a/1 "}));
}

TEST(Headlines, RegionMarkersAreMatchedExactly) {
  const std::u16string rows = Row(u"T", u"http://u/");
  EXPECT_EQ(ParseHeadlines(Page(rows), DefaultTitleStartMarker).size(), 1u);
  // Without the region's end marker there is nothing to split.
  std::u16string noEnd = Page(rows);
  noEnd.replace(noEnd.find(HeadlineRegionEnd), HeadlineRegionEnd.size(), u"<TD></TD>");
  EXPECT_TRUE(HeadlineRows(noEnd).empty());
  EXPECT_TRUE(ParseHeadlines(noEnd, DefaultTitleStartMarker).empty());
  // A lower-case region start is not the start marker: the region then is everything before
  // the end marker less its first 19 characters.
  std::u16string lower = Page(rows);
  lower.replace(lower.find(HeadlineRegionStart), HeadlineRegionStart.size(),
                u"<tr bgcolor=#eeeeee>");
  EXPECT_EQ(HeadlineRows(lower).front().substr(0, 20), u"DY><tr bgcolor=#eeee");
  EXPECT_TRUE(ParseHeadlines(u"", DefaultTitleStartMarker).empty());
}

TEST(Headlines, RowsYieldTitleAndLinkByTheirMarkers) {
  const std::u16string marker(DefaultTitleStartMarker);
  const std::u16string sixtyChars(60, u'x');
  struct Case {
    const char* name;
    std::u16string row;
    Entries entries;
  } cases[] = {
      {"title and link",
       marker + u"T</B></TD></TR><A href=http://u/ target=_blank>http://u/</A>",
       {u"T;http://u/ "}},
      {"quoted link keeps quotes",
       marker + u"T</B></TD></TR><A href=\"U\" target=_blank>http",
       {u"T;\"U\" "}},
      {"title without link", marker + u"T</B></TD></TR><A href=U>U</A>", {u"T;"}},
      {"link without title", u"<A href=U target=_blank>http", {u";U "}},
      {"neither", u"<TD>nothing</TD>", {}},
      {"missing title start drops 60 characters", sixtyChars + u"TAIL</B></TD></TR>", {u"TAIL;"}},
      {"short head without title start", u"short</B></TD></TR>", {}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(HeadlineEntriesOfRows({c.row}, DefaultTitleStartMarker), c.entries) << c.name;
}

TEST(Headlines, TitleMarkerComesFromTheCaller) {
  const Entries rows = {u"<B>T</B></TD></TR><A href=U target=_blank>http"};
  EXPECT_EQ(HeadlineEntriesOfRows(rows, u"<B>"), Entries{u"T;U "});
}

TEST(Headlines, SplitKeepsTheFirstAndLastPieces) {
  const std::u16string page = Page(u"a</SPAN></TD></TR></SPAN></TD></TR>b");
  EXPECT_EQ(HeadlineRows(page), (Entries{u"<TD>标题</TD></TR>a", u"", u"b<TR>"}));
}

}  // namespace
}  // namespace langxing
