// SPDX-License-Identifier: GPL-3.0-or-later
// The eight background colour swatches: a press darkens the swatch, sets the reader page's
// background colour and renders the current article again; the release gives the swatch its
// colour back.
#include <charconv>
#include <optional>
#include <string>

#include "app/form1.hpp"
#include "app/picture_box.hpp"
#include "app/settings_pane.hpp"
#include "core/text.hpp"
#include "reader/swatches.hpp"

namespace {

QColor ColourOfValue(std::uint32_t value) {
  return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                static_cast<int>((value >> 16) & 0xFF));
}

// The decimal text as a colour value; none unless it is a plain number within 0..0xFFFFFF.
std::optional<std::uint32_t> ColourValueOfText(const std::u16string& decimal) {
  const std::string ascii = langxing::Utf16ToUtf8(decimal);
  std::uint32_t value = 0;
  const auto [end, error] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
  if (ascii.empty() || error != std::errc{} || end != ascii.data() + ascii.size() ||
      value > 0xFFFFFF)
    return std::nullopt;
  return value;
}

}  // namespace

void Form1::ConnectSwatchHandlers() {
  for (const langxing::Swatch& row : langxing::Swatches) {
    PictureBox* swatch = SwatchByName(row.name);
    if (swatch == nullptr) continue;
    connect(swatch, &PictureBox::MouseDown, this,
            [this, swatch](int, int, double, double) { Swatch_MouseDown(swatch); });
    connect(swatch, &PictureBox::MouseUp, this,
            [this, swatch](int, int, double, double) { Swatch_MouseUp(swatch); });
  }
}

namespace {

const langxing::Swatch* RowOf(const SettingsPane& pane, const PictureBox* swatch) {
  for (const langxing::Swatch& row : langxing::Swatches)
    if (swatch != nullptr && pane.SwatchByName(row.name) == swatch) return &row;
  return nullptr;
}

}  // namespace

void Form1::Swatch_MouseDown(PictureBox* swatch) {
  const langxing::Swatch* row = RowOf(*Frame3, swatch);
  if (row == nullptr) return;
  // The swatch's own colour is saved, not the one it shows: a second button pressed while
  // the first is still down would otherwise save the dark pressed colour, and the release
  // would leave the swatch dark for good.
  const std::string decimal = std::to_string(row->colour);
  SavedSwatchColour = std::u16string(decimal.begin(), decimal.end());
  // Dark until the release, however long the reload takes.
  swatch->SetBackColor(ColourOfValue(row->pressedColour));
  Text1 = langxing::SwatchColourText(*row, SavedSwatchColour);
  ReloadArticle();
}

void Form1::Swatch_MouseUp(PictureBox* swatch) {
  const langxing::Swatch* row = RowOf(*Frame3, swatch);
  if (row == nullptr) return;
  // Only a press writes SavedSwatchColour; should a release come without one, the swatch
  // still gets its own colour back rather than turning black.
  swatch->SetBackColor(ColourOfValue(ColourValueOfText(SavedSwatchColour).value_or(row->colour)));
}
