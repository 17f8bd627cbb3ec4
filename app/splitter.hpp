// SPDX-License-Identifier: GPL-3.0-or-later
// The arithmetic of the splitter bar Picture2 between the left pane and the article view, in
// twips. The bar keeps no state: its position is its left edge.
#pragma once

#include "app/layout.hpp"

namespace langxing {

// The bar's colour while and after it is dragged (red, green, blue).
inline constexpr int SplitterDragRed = 234;
inline constexpr int SplitterDragGreen = 224;
inline constexpr int SplitterDragBlue = 206;

// Mouse button bits as the bar's handlers receive them.
inline constexpr int LeftButtonBit = 1;
inline constexpr int RightButtonBit = 2;
inline constexpr int MiddleButtonBit = 4;

// The bar's left edge after a pointer move to `x` (relative to the bar's own left edge): it
// follows the pointer only while the left button alone is down.
double SplitterMove(double barLeft, int buttonState, double x);

// Rounds to the nearest whole number, halves to the even neighbour.
double RoundHalfEven(double value);

// The release: rounds the bar's left edge, keeps it at least 1000 from the left and 1000 from
// the right of a client area `clientWidth` wide (the right limit wins when both cannot hold),
// and sizes the panes on both sides to it. Widths that would come out negative are skipped.
PaneGeometry SplitterRelease(PaneGeometry panes, double clientWidth);

}  // namespace langxing
