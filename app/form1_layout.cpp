// SPDX-License-Identifier: GPL-3.0-or-later
// The resize rule applied to the real controls, the splitter bar's handlers, and centring.
#include <QGroupBox>
#include <QGuiApplication>
#include <QListWidget>
#include <QResizeEvent>
#include <QScreen>
#include <QTreeWidget>
#include <cmath>

#include "app/article_view.hpp"
#include "app/form1.hpp"
#include "app/picture_box.hpp"
#include "app/splitter.hpp"
#include "app/status_bar.hpp"
#include "app/tab_strip.hpp"

namespace {
// The status bar is docked to the bottom edge, the client area's full width.
constexpr double StatusBarHeightTwips = 255;
}  // namespace

double Form1::OuterWidthTwips() const {
  const QRect frame = frameGeometry();
  const QRect client = geometry();
  if (frame.size() != client.size()) return frame.width() * langxing::TwipsPerPixel;
  return client.width() * langxing::TwipsPerPixel + langxing::DesignBorderWidth;
}

double Form1::OuterHeightTwips() const {
  const QRect frame = frameGeometry();
  const QRect client = geometry();
  if (frame.size() != client.size()) return frame.height() * langxing::TwipsPerPixel;
  return client.height() * langxing::TwipsPerPixel + langxing::DesignBorderHeight;
}

double Form1::ClientWidthTwips() const { return width() * langxing::TwipsPerPixel; }

void Form1::ApplyPanes() {
  PlaceInTwips(TabStrip1, panes_.TabStrip1);
  PlaceInTwips(TreeView1, panes_.TreeView1);
  PlaceInTwips(List2, panes_.List2);
  PlaceInTwips(Frame3, panes_.Frame3);
  PlaceInTwips(Picture2, panes_.Picture2);
  PlaceInTwips(Frame2, panes_.Frame2);
  PlaceInTwips(WebBrowser2, panes_.WebBrowser2);
}

void Form1::PlaceStatusBar() {
  const int height = TwipsToPixels(StatusBarHeightTwips);
  StatusBar1->setGeometry(0, this->height() - height, width(), height);
}

void Form1::Form_Resize() {
  const langxing::ResizeResult result =
      langxing::ApplyResizeRule(OuterWidthTwips(), OuterHeightTwips(), panes_);
  panes_ = result.panes;
  ApplyPanes();
  PlaceStatusBar();
  std::array<int, StatusBar::PanelCount> widths{};
  for (int i = 0; i < StatusBar::PanelCount; ++i) widths[i] = TwipsToPixels(result.panelWidths[i]);
  StatusBar1->SetPanelWidths(widths);
}

void Form1::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Form_Resize();
}

void Form1::Picture2_MouseDown(int, int, double, double) {
  Picture2->SetBackColor(
      QColor(langxing::SplitterDragRed, langxing::SplitterDragGreen, langxing::SplitterDragBlue));
}

void Form1::Picture2_MouseMove(int buttons, int, double x, double) {
  const double left = langxing::SplitterMove(panes_.Picture2.left, buttons, x);
  if (left == panes_.Picture2.left) return;
  // Only the bar follows the pointer; the panes are resized at the release.
  panes_.Picture2.left = left;
  PlaceInTwips(Picture2, panes_.Picture2);
}

void Form1::Picture2_MouseUp(int, int, double, double) {
  panes_ = langxing::SplitterRelease(panes_, ClientWidthTwips());
  ApplyPanes();
  Picture2->SetBackColor(
      QColor(langxing::SplitterDragRed, langxing::SplitterDragGreen, langxing::SplitterDragBlue));
}

void Form1::CentreOnScreen() {
  QScreen* screen = this->screen() != nullptr ? this->screen() : QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  QRect area = screen->availableGeometry();
  const QSize outer(static_cast<int>(std::lround(OuterWidthTwips() / langxing::TwipsPerPixel)),
                    static_cast<int>(std::lround(OuterHeightTwips() / langxing::TwipsPerPixel)));
  move(area.left() + (area.width() - outer.width()) / 2,
       area.top() + (area.height() - outer.height()) / 2);
}

void Form1::setVisible(bool visible) {
  if (visible && !centred_) {
    centred_ = true;
    // The window's style and fonts are settled now: where the captions end is known.
    ensurePolished();
    PlaceSwatchesInFrame();
    PlaceCaptions();
    CentreOnScreen();
  }
  QWidget::setVisible(visible);
}
