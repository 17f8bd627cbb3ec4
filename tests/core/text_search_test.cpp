// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/text_search.hpp"

#include <gtest/gtest.h>

#include <string>

namespace langxing {
namespace {

TEST(TextSearch, FindsAtEveryOffsetAndBlockBoundary) {
  // Needles of several lengths planted at every position of texts around the vector widths,
  // with near misses (first and last unit right, middle wrong) before them.
  for (const SearchPath path : {SearchPath::Scalar, SearchPath::Sse2, SearchPath::Avx2}) {
    for (std::size_t size = 0; size < 150; ++size) {
      for (const std::u16string_view needle : {u"<", u"<h", u"<h1", u"<img ", u"朗星快报"}) {
        std::u16string miss(needle);
        if (miss.size() > 2) miss[1] = u'?';
        for (std::size_t at = 0; at + needle.size() <= size; ++at) {
          std::u16string text(size, u'x');
          if (needle.size() > 2 && at >= miss.size())
            text.replace(at - miss.size(), miss.size(), miss);
          text.replace(at, needle.size(), needle);
          ASSERT_EQ(FindTextUsing(path, text, needle), at) << size << " " << at;
          ASSERT_EQ(FindTextUsing(path, text, needle, at + 1), std::u16string::npos) << at;
        }
        ASSERT_EQ(FindTextUsing(path, std::u16string(size, u'x'), needle), std::u16string::npos);
      }
    }
  }
  EXPECT_EQ(FindText(u"abc", u"", 3), 3u);
  EXPECT_EQ(FindText(u"abc", u"", 4), std::u16string::npos);
  EXPECT_EQ(FindText(u"abc", u"c", 5), std::u16string::npos);
}

TEST(TextSearch, FirstAndLastUnitsMatchingIsNotEnough) {
  EXPECT_EQ(FindText(u"<hx1 <xy1 <h1", u"<h1"), 10u);
  EXPECT_EQ(FindText(u"aaaaaaaaaaaaaaaaaaaab", u"aab"), 18u);
}

}  // namespace
}  // namespace langxing
