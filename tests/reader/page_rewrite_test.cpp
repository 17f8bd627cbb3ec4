// SPDX-License-Identifier: GPL-3.0-or-later
#include "reader/page_rewrite.hpp"

#include <gtest/gtest.h>

#include <random>

#include "core/text.hpp"

namespace langxing {
namespace {

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
    if (round % 2 == 0) rewritten.reserve(text.size() * 4);  // grow in place
    ReplaceEvery(rewritten, find, replacement);
    ASSERT_EQ(rewritten, ReplaceAll(text, find, replacement)) << round;
  }
}

}  // namespace
}  // namespace langxing
