// SPDX-License-Identifier: GPL-3.0-or-later
#include "reader/swatches.hpp"

#include <gtest/gtest.h>

#include <string>

namespace langxing {
namespace {

const Swatch& SwatchNamed(std::string_view name) {
  for (const Swatch& s : Swatches)
    if (s.name == name) return s;
  throw std::runtime_error("no such swatch");
}

TEST(Swatches, PressWritesTheColourTextOfEachSwatch) {
  // The press saves the swatch's own colour value as decimal text; the text written to Text1
  // is computed from it for the greys and white, a fixed literal for the others.
  struct Case {
    std::string_view name;
    std::u16string_view text;
  } cases[] = {
      {"Picture9", u"FFFFFF"},  {"Picture10", u"E0E0E0"}, {"Picture3", u"C0C0C0"},
      {"Picture4", u"808080"},  {"Picture8", u"#CDC8B1"}, {"Picture5", u"#CDBA96"},
      {"Picture6", u"#B0C4DE"}, {"Picture7", u"#2E8B57"},
  };
  for (const Case& c : cases) {
    const Swatch& s = SwatchNamed(c.name);
    const std::string saved = std::to_string(s.colour);
    EXPECT_EQ(SwatchColourText(s, std::u16string(saved.begin(), saved.end())), c.text) << c.name;
  }
}

TEST(Swatches, ScreenOrderPositionsAndColours) {
  const std::string_view order[] = {"Picture9", "Picture10", "Picture3", "Picture4",
                                    "Picture8", "Picture5",  "Picture6", "Picture7"};
  for (std::size_t i = 0; i < Swatches.size(); ++i) EXPECT_EQ(Swatches[i].name, order[i]);
  EXPECT_EQ(SwatchNamed("Picture5").left, 1920);
  EXPECT_EQ(SwatchNamed("Picture6").top, 600);
  EXPECT_EQ(SwatchNamed("Picture8").colour, 234u + 256u * 224u + 65536u * 206u);
  EXPECT_EQ(SwatchNamed("Picture7").colour, 32768u);
  for (const Swatch& s : Swatches)
    EXPECT_EQ(s.pressedColour, s.name == "Picture4" ? 3u : 0u) << s.name;
}

TEST(Swatches, ComputedTextIsUpperHexWithoutLeadingZeros) {
  const Swatch& grey = SwatchNamed("Picture3");
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
    EXPECT_EQ(SwatchColourText(grey, c.saved), c.text)
        << std::string(c.saved.begin(), c.saved.end());
  // A literal swatch ignores the saved value.
  EXPECT_EQ(SwatchColourText(SwatchNamed("Picture7"), u"0"), u"#2E8B57");
}

}  // namespace
}  // namespace langxing
