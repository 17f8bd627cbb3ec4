// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/layout.hpp"

#include <QWidget>
#include <cmath>

namespace langxing {

PaneGeometry PaneGeometry::Design() {
  PaneGeometry g;
  g.TabStrip1 = {0, 0, 2775, 8010};
  g.TreeView1 = {45, 360, 2655, 6735};
  g.List2 = {45, 360, 2655, 6780};
  g.Frame3 = {45, 330, 2635, 7695};
  g.Picture2 = {2760, 360, 50, 7635};
  g.Frame2 = {2825, 0, 8295, 8115};
  g.WebBrowser2 = {60, 195, 8160, 7860};  // inside Frame2
  return g;
}

ResizeResult ApplyResizeRule(double W, double H, PaneGeometry g) {
  SetSizeIfValid(g.Frame2.width, W - g.TabStrip1.width - g.Picture2.width - 120);
  SetSizeIfValid(g.WebBrowser2.width, g.Frame2.width - 100);
  SetSizeIfValid(g.Frame2.height, H - 700);
  SetSizeIfValid(g.Frame3.height, g.Frame2.height - 350);
  SetSizeIfValid(g.Picture2.height, g.Frame2.height - 400);
  SetSizeIfValid(g.WebBrowser2.height, g.Frame2.height - 300);
  SetSizeIfValid(g.TabStrip1.height, g.Frame2.height);
  SetSizeIfValid(g.List2.height, g.TabStrip1.height - 430);
  SetSizeIfValid(g.Frame3.width, g.TabStrip1.width - 100);
  SetSizeIfValid(g.TreeView1.height, g.TabStrip1.height - 430);

  ResizeResult result;
  result.panes = g;
  result.panelWidths = {W * 0.1, W * 0.5, W * 0.2, W * 0.2};
  return result;
}

int TwipsToPixels(double twips) { return static_cast<int>(std::lround(twips / TwipsPerPixel)); }

void PlaceInTwips(QWidget* widget, const TwipsBox& box) {
  widget->setGeometry(TwipsToPixels(box.left), TwipsToPixels(box.top), TwipsToPixels(box.width),
                      TwipsToPixels(box.height));
}

}  // namespace langxing
