// SPDX-License-Identifier: GPL-3.0-or-later
// The eight background colours the reader offers, with the colour text each one gives.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace langxing {

// A colour value: red + 256 * green + 65536 * blue.
constexpr std::uint32_t ColourValue(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return r + 256u * g + 65536u * b;
}

struct Rgb {
  std::uint8_t red, green, blue;
};

// The colour's components; bits above the blue byte are ignored.
constexpr Rgb RgbOf(std::uint32_t colourValue) {
  return {static_cast<std::uint8_t>(colourValue & 0xFF),
          static_cast<std::uint8_t>((colourValue >> 8) & 0xFF),
          static_cast<std::uint8_t>((colourValue >> 16) & 0xFF)};
}

// The decimal text as a number; none unless it is digits alone giving an unsigned 32-bit number.
std::optional<std::uint32_t> DecimalValue(std::u16string_view text);

// The decimal text as a colour value; none unless DecimalValue reads it and it is at most
// 0xFFFFFF.
std::optional<std::uint32_t> ColourValueOfDecimal(std::u16string_view text);

struct Swatch {
  std::uint32_t colour;         // own colour value
  std::uint32_t pressedColour;  // colour value while pressed
  std::u16string_view literal;  // the colour text it gives; empty = computed from colour
};

// White, light grey, silver, grey, beige, camel, lavender and green.
inline constexpr std::array<Swatch, 8> Swatches = {{
    {ColourValue(255, 255, 255), 0, u""},
    {ColourValue(224, 224, 224), 0, u""},
    {ColourValue(192, 192, 192), 0, u""},
    {ColourValue(128, 128, 128), 3, u""},
    {ColourValue(234, 224, 206), 0, u"#CDC8B1"},
    {ColourValue(200, 177, 141), 0, u"#CDBA96"},
    {ColourValue(192, 192, 255), 0, u"#B0C4DE"},
    {ColourValue(0, 128, 0), 0, u"#2E8B57"},
}};

// The background colour text a choice of the swatch gives: the literal, or the saved colour value
// (decimal text) as upper-case hexadecimal without leading zeros and without "#".
std::u16string SwatchColourText(const Swatch& swatch, std::u16string_view savedColourDecimal);

}  // namespace langxing
