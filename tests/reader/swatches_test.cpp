// SPDX-License-Identifier: GPL-3.0-or-later
#include "reader/swatches.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace langxing {
namespace {

TEST(Swatches, ColourValueOfDecimalTakesPlainNumbersUpToWhite) {
  struct Case {
    std::u16string_view text;
    std::optional<std::uint32_t> value;
  } cases[] = {
      {u"0", 0u},
      {u"32768", 32768u},
      {u"16777215", 0xFFFFFFu},
      {u"16777216", std::nullopt},    // past white
      {u"4294967296", std::nullopt},  // past 32 bits
      {u"", std::nullopt},
      {u"-1", std::nullopt},
      {u"+1", std::nullopt},
      {u" 1", std::nullopt},
      {u"12x", std::nullopt},
      {u"\uFF11", std::nullopt},  // a full-width digit
  };
  for (const Case& c : cases)
    EXPECT_EQ(ColourValueOfDecimal(c.text), c.value) << std::string(c.text.begin(), c.text.end());
}

TEST(Swatches, RgbOfSplitsTheValueLowByteRed) {
  const Rgb rgb = RgbOf(ColourValue(1, 2, 3) | 0xFF000000u);
  EXPECT_EQ(rgb.red, 1);
  EXPECT_EQ(rgb.green, 2);
  EXPECT_EQ(rgb.blue, 3);
}

TEST(Swatches, ComputedTextIsUpperHexWithoutLeadingZeros) {
  const Swatch& silver = Swatches[2];
  struct Case {
    std::u16string_view saved, text;
  } cases[] = {
      {u"12632256", u"C0C0C0"},
      {u"255", u"FF"},
      {u"0", u"0"},
      {u"10", u"A"},
      {u"4294967295", u"FFFFFFFF"},
      {u"", u"0"},
      {u"abc", u"0"},
      {u"-5", u"0"},
      {u"12x", u"0"},
      {u"99999999999", u"0"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(SwatchColourText(silver, c.saved), c.text)
        << std::string(c.saved.begin(), c.saved.end());
  // A literal swatch ignores the saved value.
  EXPECT_EQ(SwatchColourText(Swatches[7], u"0"), u"#2E8B57");
}

}  // namespace
}  // namespace langxing
