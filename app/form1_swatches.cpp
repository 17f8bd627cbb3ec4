// SPDX-License-Identifier: GPL-3.0-or-later
// The eight background colour swatches: a press darkens the swatch, sets the reader page's
// background colour and renders the current article again; the release gives the swatch its
// colour back.
#include <string>

#include "app/form1.hpp"
#include "app/picture_box.hpp"
#include "app/settings_pane.hpp"
#include "app/swatch_widgets.hpp"

namespace {

QColor ColourOfValue(std::uint32_t value) {
  const langxing::Rgb rgb = langxing::RgbOf(value);
  return QColor(rgb.red, rgb.green, rgb.blue);
}

}  // namespace

void Form1::ConnectSwatchHandlers() {
  for (const SwatchWidget& widget : SwatchWidgets) {
    PictureBox* swatch = SwatchByName(widget.name);
    if (swatch == nullptr) continue;
    connect(swatch, &PictureBox::MouseDown, this,
            [this, swatch](int, int, double, double) { Swatch_MouseDown(swatch); });
    connect(swatch, &PictureBox::MouseUp, this,
            [this, swatch](int, int, double, double) { Swatch_MouseUp(swatch); });
  }
}

namespace {

// The reader's swatch the widget stands for.
const langxing::Swatch* RowOf(const SettingsPane& pane, const PictureBox* swatch) {
  for (const SwatchWidget& widget : SwatchWidgets)
    if (swatch != nullptr && pane.SwatchByName(widget.name) == swatch) return widget.swatch;
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
  swatch->SetBackColor(
      ColourOfValue(langxing::ColourValueOfDecimal(SavedSwatchColour).value_or(row->colour)));
}
