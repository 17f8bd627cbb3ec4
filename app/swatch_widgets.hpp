// SPDX-License-Identifier: GPL-3.0-or-later
// The settings pane's colour swatches as the window shows them: each widget's name, its place in
// the frame Frame4 in twips, the colour's name a screen reader says, and the reader's swatch
// (reader/swatches.hpp) it stands for.
#pragma once

#include <string_view>

#include "reader/swatches.hpp"

struct SwatchWidget {
  std::string_view name;
  int left, top;                   // measured from the frame's outer edge, as the design has it
  const char* colourName;          // UTF-8
  const langxing::Swatch* swatch;  // one of langxing::Swatches
};

// In the order they are shown: two rows, the first of six, the second of two.
inline constexpr SwatchWidget SwatchWidgets[] = {
    {"Picture9", 120, 240, "白色", &langxing::Swatches[0]},
    {"Picture10", 480, 240, "浅灰色", &langxing::Swatches[1]},
    {"Picture3", 840, 240, "银灰色", &langxing::Swatches[2]},
    {"Picture4", 1200, 240, "灰色", &langxing::Swatches[3]},
    {"Picture8", 1560, 240, "米色", &langxing::Swatches[4]},
    {"Picture5", 1920, 240, "驼色", &langxing::Swatches[5]},
    {"Picture6", 120, 600, "淡紫色", &langxing::Swatches[6]},
    {"Picture7", 480, 600, "绿色", &langxing::Swatches[7]},
};
