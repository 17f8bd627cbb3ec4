// SPDX-License-Identifier: GPL-3.0-or-later
// The window's resize rule, in twips (1/1440 inch), as a pure function of the window's outer
// size and the current geometry of the controls it touches.
#pragma once

#include <array>

class QWidget;

namespace langxing {

// One control's geometry in twips, relative to its container's client area.
struct TwipsBox {
  double left = 0, top = 0, width = 0, height = 0;
  friend bool operator==(const TwipsBox&, const TwipsBox&) = default;
};

// The controls that the resize rule and the splitter lay out.
struct PaneGeometry {
  TwipsBox TabStrip1, TreeView1, List2, Frame3, Picture2, Frame2, WebBrowser2;

  // The geometry of the window's design.
  static PaneGeometry Design();
  friend bool operator==(const PaneGeometry&, const PaneGeometry&) = default;
};

// The window's client area at design, and its border (outer size less client size).
inline constexpr double DesignClientWidth = 11205;
inline constexpr double DesignClientHeight = 8385;
inline constexpr double DesignBorderWidth = 120;
inline constexpr double DesignBorderHeight = 405;

// Twips per logical pixel.
inline constexpr double TwipsPerPixel = 15;

struct ResizeResult {
  PaneGeometry panes;
  std::array<double, 4> panelWidths{};  // status bar panels 1..4
};

// Lays the controls out for a window of outer size W x H (border and title bar included). Each
// step reads the results of the steps before it; a step whose result is below zero is skipped
// and that control keeps its size. The panel widths are 0.1, 0.5, 0.2 and 0.2 of W.
ResizeResult ApplyResizeRule(double outerWidth, double outerHeight, PaneGeometry current);

// Stores `value` into `target` unless it is negative (a control rejects a negative size).
inline void SetSizeIfValid(double& target, double value) {
  if (value >= 0) target = value;
}

// A length in twips as whole logical pixels (15 twips a pixel), rounded to the nearest.
int TwipsToPixels(double twips);

// Places `widget` at a geometry given in twips, relative to its parent's client area.
void PlaceInTwips(QWidget* widget, const TwipsBox& box);

}  // namespace langxing
