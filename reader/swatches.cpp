// SPDX-License-Identifier: GPL-3.0-or-later
#include "reader/swatches.hpp"

#include <charconv>

#include "core/text.hpp"

namespace langxing {

std::optional<std::uint32_t> DecimalValue(std::u16string_view text) {
  std::string ascii;
  for (const char16_t c : text) {
    if (c < u'0' || c > u'9') return std::nullopt;
    ascii.push_back(static_cast<char>(c));
  }
  std::uint32_t value = 0;
  const auto [end, ec] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
  if (ascii.empty() || ec != std::errc{} || end != ascii.data() + ascii.size()) return std::nullopt;
  return value;
}

std::optional<std::uint32_t> ColourValueOfDecimal(std::u16string_view text) {
  const std::optional<std::uint32_t> value = DecimalValue(text);
  if (!value || *value > 0xFFFFFF) return std::nullopt;
  return value;
}

std::u16string SwatchColourText(const Swatch& swatch, std::u16string_view savedColourDecimal) {
  if (!swatch.literal.empty()) return std::u16string(swatch.literal);
  const std::uint32_t value = DecimalValue(savedColourDecimal).value_or(0);
  std::array<char, 16> hex{};
  const auto [end, ec] = std::to_chars(hex.data(), hex.data() + hex.size(), value, 16);
  std::u16string text;
  for (const char* p = hex.data(); p != end; ++p) {
    const char c = *p;
    text.push_back(static_cast<char16_t>(c >= 'a' && c <= 'f' ? c - 'a' + 'A' : c));
  }
  return text;
}

}  // namespace langxing
