#include "reader/page_rewrite.hpp"

#include <gtest/gtest.h>

#include <random>

#include "core/text.hpp"

namespace langxing {
namespace {

TEST(PageRewrite, FindsAtEveryOffsetAndBlockBoundary) {
  // Needles of several lengths planted at every position of texts around the vector width.
  for (std::size_t size = 0; size < 40; ++size) {
    for (const std::u16string_view needle : {u"<", u"<h", u"<h1", u"<img ", u"朗星快报"}) {
      for (std::size_t at = 0; at + needle.size() <= size; ++at) {
        std::u16string text(size, u'x');
        text.replace(at, needle.size(), needle);
        ASSERT_EQ(FindText(text, needle), at) << size << " " << at;
        ASSERT_EQ(FindText(text, needle, at + 1), std::u16string::npos) << size << " " << at;
      }
      ASSERT_EQ(FindText(std::u16string(size, u'x'), needle), std::u16string::npos);
    }
  }
  EXPECT_EQ(FindText(u"abc", u"", 3), 3u);
  EXPECT_EQ(FindText(u"abc", u"", 4), std::u16string::npos);
  EXPECT_EQ(FindText(u"abc", u"c", 5), std::u16string::npos);
}

TEST(PageRewrite, FirstAndLastUnitsMatchingIsNotEnough) {
  EXPECT_EQ(FindText(u"<hx1 <xy1 <h1", u"<h1"), 10u);
  EXPECT_EQ(FindText(u"aaaaaaaaaaaaaaaaaaaab", u"aab"), 18u);
}

TEST(PageRewrite, ReplaceEveryAgreesWithReplaceAllOnRandomPages) {
  std::mt19937 rng(12345);
  const std::u16string alphabet = u"<h1 .jpgswf>";
  const std::u16string_view finds[] = {u"<h1", u".jpg", u".swf", u"<", u"gg", u"1 .j"};
  const std::u16string_view replacements[] = {u"", u".", u"<h3 style='x'", u"gg", u"QQQQQ"};
  for (int round = 0; round < 2000; ++round) {
    std::u16string text(rng() % 80, u' ');
    for (char16_t& c : text) c = alphabet[rng() % alphabet.size()];
    const std::u16string_view find = finds[rng() % std::size(finds)];
    const std::u16string_view replacement = replacements[rng() % std::size(replacements)];
    std::u16string rewritten = text;
    ReplaceEvery(rewritten, find, replacement);
    ASSERT_EQ(rewritten, ReplaceAll(text, find, replacement)) << round;
  }
}

}  // namespace
}  // namespace langxing
