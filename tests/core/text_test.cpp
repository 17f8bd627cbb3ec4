// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/text.hpp"

#include <gtest/gtest.h>

#include <string>

#include "core/collapsed_space.hpp"

namespace langxing {
namespace {

struct ExtractCase {
  std::u16string text, start, end, expected;
};

class ExtractBetweenTest : public ::testing::TestWithParam<ExtractCase> {};

TEST_P(ExtractBetweenTest, GivesTheDefinedResult) {
  const auto& c = GetParam();
  EXPECT_EQ(ExtractBetween(c.text, c.start, c.end), c.expected)
      << Utf16ToUtf8(c.text) << " / " << Utf16ToUtf8(c.start) << " / " << Utf16ToUtf8(c.end);
  // The view form cuts the same units out of the text itself, without a copy.
  const std::u16string_view view = ExtractBetweenView(c.text, c.start, c.end);
  EXPECT_EQ(view, c.expected);
  if (!view.empty()) {
    EXPECT_GE(view.data(), c.text.data());
    EXPECT_LE(view.data() + view.size(), c.text.data() + c.text.size());
  }
}

INSTANTIATE_TEST_SUITE_P(
    MarkerCases, ExtractBetweenTest,
    ::testing::Values(
        ExtractCase{u"a[s]x[e]c", u"[s]", u"[e]", u"x"},
        ExtractCase{u"[s]1[e][s]2[e]", u"[s]", u"[e]", u"1"},
        ExtractCase{u"[s][s]x[e]", u"[s]", u"[e]", u"[s]x"},
        ExtractCase{u"[s][e]", u"[s]", u"[e]", u""},
        ExtractCase{u"abcdef[e]", u"[s]", u"[e]", u"cdef"},
        ExtractCase{u"ab[e]", u"[s]", u"[e]", u""},
        ExtractCase{u"x[e]y[s]z[e]", u"[s]", u"[e]", u""},
        ExtractCase{u"[S]x[e]", u"[s]", u"[e]", u"]x"}, ExtractCase{u"abc", u"[s]", u"[e]", u""},
        ExtractCase{u"", u"[s]", u"[e]", u""}, ExtractCase{u"ab[e]c", u"", u"[e]", u"ab"},
        ExtractCase{u"[e]c", u"", u"[e]", u""}, ExtractCase{u"a[s]x[e]c", u"[s]", u"", u""},
        ExtractCase{u"", u"", u"", u""},
        // The start marker overlapping the end marker counts as missing.
        ExtractCase{u"abc[s]e]", u"[s]", u"s]e", u"c["},
        // Chinese text and the channel-line markers.
        ExtractCase{u"体育新闻_国际足球--http://x/_y--z", u"_", u"--", u"国际足球"},
        ExtractCase{u"体育新闻国际足球--http://x", u"_", u"--", u"体育新闻国际足球"},
        // Lone surrogates are plain code units.
        ExtractCase{std::u16string{u'\xD800', u'<', u'x', u'>', u'\xDC00'}, u"<", u">", u"x"}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

TEST(FirstOccurrenceTest, FollowsTheOneBasedRules) {
  EXPECT_EQ(FirstOccurrence(u"", u""), 0u);
  EXPECT_EQ(FirstOccurrence(u"", u"a"), 0u);
  EXPECT_EQ(FirstOccurrence(u"abc", u""), 1u);
  EXPECT_EQ(FirstOccurrence(u"abcabc", u"c"), 3u);
  EXPECT_EQ(FirstOccurrence(u"abc", u"C"), 0u);
  EXPECT_TRUE(Contains(u"新浪网新闻", u"新浪网"));
  EXPECT_FALSE(Contains(u"", u""));
}

TEST(SplitAllTest, GivesOneMorePieceThanSeparators) {
  using V = std::vector<std::u16string>;
  EXPECT_EQ(SplitAll(u"", u"|"), V{});
  EXPECT_EQ(SplitAll(u"a", u"|"), V{u"a"});
  EXPECT_EQ(SplitAll(u"|", u"|"), (V{u"", u""}));
  EXPECT_EQ(SplitAll(u"a||b|", u"|"), (V{u"a", u"", u"b", u""}));
  EXPECT_EQ(SplitAll(u"a</X>b</X>", u"</X>"), (V{u"a", u"b", u""}));
  EXPECT_EQ(SplitAll(u"ab", u""), V{u"ab"});
}

TEST(ReplaceAllTest, ReplacesLeftToRightWithoutRescanning) {
  EXPECT_EQ(ReplaceAll(u"a.jpg b.jpg", u".jpg", u"."), u"a. b.");
  EXPECT_EQ(ReplaceAll(u"aaa", u"aa", u"b"), u"ba");
  EXPECT_EQ(ReplaceAll(u"<h1><h1", u"<h1", u"<h1 x"), u"<h1 x><h1 x");
  EXPECT_EQ(ReplaceAll(u"abc", u"", u"x"), u"abc");
  EXPECT_EQ(ReplaceAll(u"", u"a", u"x"), u"");
  EXPECT_EQ(ReplaceAll(u"A.JPG", u".jpg", u"."), u"A.JPG");
}

TEST(TrimSpacesTest, TrimsTheSpaceCharacterOnly) {
  EXPECT_EQ(TrimSpaces(u"  1.2  "), u"1.2");
  EXPECT_EQ(TrimSpaces(u"\t1.2\r\n"), u"\t1.2\r\n");
  EXPECT_EQ(TrimSpaces(u"   "), u"");
  EXPECT_EQ(TrimSpaces(u" a b "), u"a b");
  EXPECT_EQ(TrimSpaces(u"\u30001.2"), u"\u30001.2");
}

TEST(CollapsedSpaceTest, RunsOfWhiteSpaceAndNoBreakSpacesAreOneBlankTrimmed) {
  const struct {
    std::string text, expected;
  } cases[] = {
      {" a \t\n b\f\rc ", "a b c"},
      {"\xC2\xA0x\xC2\xA0 \xC2\xA0y\xC2\xA0", "x y"},
      {"   ", ""},
      {"\xC2"
       "b\xC2",
       "\xC2"
       "b\xC2"},  // a lead byte without A0 is a character
      {"a\xE3\x80\x80"
       "b",
       "a\xE3\x80\x80"
       "b"},  // the ideographic space is no white space here
  };
  for (const auto& c : cases) EXPECT_EQ(CollapsedSpace(c.text), c.expected) << c.text;

  // Pieces: a break is a run of its own, joined with the white space around it.
  SpaceCollapser pieces;
  pieces.Break();
  pieces.Append("a ");
  pieces.Break();
  pieces.Append(" b");
  pieces.Append("c");
  pieces.Break();
  EXPECT_EQ(pieces.Take(), "a bc");
}

TEST(Utf8Test, RoundTripsAndReplacesInvalidSequencesAsBrowsersDo) {
  const std::u16string chinese = u"朗星快报 1.2 \U0001F600";
  EXPECT_EQ(Utf8ToUtf16(Utf16ToUtf8(chinese)), chinese);
  EXPECT_EQ(Utf16ToUtf8(std::u16string{u'a', u'\xD800'}), "a\xEF\xBF\xBD");
  // A trail unit alone, or before its lead, stands for no character.
  EXPECT_EQ(Utf16ToUtf8(std::u16string{u'\xDE00', u'\xD83D', u'b'}),
            "\xEF\xBF\xBD\xEF\xBF\xBD"
            "b");

  // One U+FFFD for each malformed sequence's longest well-formed start; the byte that broke
  // it starts the next sequence.
  const struct {
    std::string bytes;
    std::u16string expected;
  } cases[] = {
      {"", u""},
      {"\xE6\x9C\x97\xF0\x9F\x98\x80", u"朗\U0001F600"},
      {"a\xFF"
       "b",
       u"a\uFFFDb"},
      {"\xE6\x9C", u"\uFFFD"},  // cut off by the end
      {"\xE6\x9Cz\xF0\x9F\x98", u"\uFFFDz\uFFFD"},
      {"\xE6\xE6\x9C\x97", u"\uFFFD朗"},  // a lead byte breaks the sequence before it
      {"\xC0\xAF", u"\uFFFD\uFFFD"},      // overlong
      {"\xE0\x80\x80", u"\uFFFD\uFFFD\uFFFD"},
      {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},            // surrogate
      {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},  // past U+10FFFF
      {"\xF4\x8F\xBF\xBF", u"\U0010FFFF"},
      {"\x80\xBF", u"\uFFFD\uFFFD"},  // continuation bytes alone
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Utf8ToUtf16(c.bytes), c.expected) << c.bytes;
    EXPECT_EQ(ValidUtf8(c.bytes), Utf16ToUtf8(c.expected)) << c.bytes;
    EXPECT_EQ(IsValidUtf8(c.bytes), c.expected.find(u'\uFFFD') == std::u16string::npos) << c.bytes;
  }
}

}  // namespace
}  // namespace langxing
