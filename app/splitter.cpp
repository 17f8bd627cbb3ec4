// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/splitter.hpp"

#include <cmath>

namespace langxing {

double SplitterMove(double barLeft, int buttonState, double x) {
  return buttonState == LeftButtonBit ? barLeft + x : barLeft;
}

double RoundHalfEven(double value) {
  const double lower = std::floor(value);
  const double fraction = value - lower;
  if (fraction < 0.5) return lower;
  if (fraction > 0.5) return lower + 1;
  return std::fmod(lower, 2.0) == 0 ? lower : lower + 1;
}

PaneGeometry SplitterRelease(PaneGeometry g, double S) {
  double p = RoundHalfEven(g.Picture2.left);
  if (p < 1000) {
    p = 1000;
    g.Picture2.left = 1000;
  }
  if (S - 1000 < p) {
    p = RoundHalfEven(S - 1000);
    g.Picture2.left = p;
  }
  SetSizeIfValid(g.TabStrip1.width, p - g.TabStrip1.left - 5);
  SetSizeIfValid(g.List2.width, g.TabStrip1.width - 100);
  SetSizeIfValid(g.TreeView1.width, g.TabStrip1.width - 120);
  g.Frame2.left = g.TabStrip1.width + 50;
  SetSizeIfValid(g.Frame2.width, S - g.Frame2.left - 5);
  SetSizeIfValid(g.Frame3.width, g.TabStrip1.width - 100);
  SetSizeIfValid(g.WebBrowser2.width, g.Frame2.width - 160);
  return g;
}

}  // namespace langxing
