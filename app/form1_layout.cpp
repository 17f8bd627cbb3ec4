// SPDX-License-Identifier: GPL-3.0-or-later
// The resize rule applied to the real controls, the splitter bar's handlers, and centring.
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QResizeEvent>
#include <QScreen>
#include <QTreeWidget>
#include <algorithm>
#include <cmath>
#include <vector>

#include "app/article_view.hpp"
#include "app/form1.hpp"
#include "app/picture_box.hpp"
#include "app/settings_pane.hpp"
#include "app/splitter.hpp"
#include "app/status_bar.hpp"
#include "app/tab_strip.hpp"
#include "core/status_texts.hpp"
#include "update/announcement.hpp"

using langxing::PlaceInTwips;
using langxing::TwipsToPixels;

namespace {
// The status bar is docked to the bottom edge, the client area's full width.
constexpr double StatusBarHeightTwips = 255;

// The share of the window's outer width each status panel gets (the resize rule's).
constexpr double PanelShares[StatusBar::PanelCount] = {0.1, 0.5, 0.2, 0.2};

// The longest texts the panels show in a run, except the announcement's message (panel 2,
// the widest panel, whatever the announcement says) and the reasons of a failed load.
std::vector<QString> LongestPanelTexts(int panel, const QString& title) {
  switch (panel) {
    case Form1::TitlePanel:
      return {title, QString::fromStdU16String(std::u16string(langxing::UpToDateNotice))};
    case Form1::ClockPanel:
      return {QString::fromStdU16String(langxing::ClockText({2088, 12, 28, 20, 58, 58}))};
    case Form1::StatusPanel: {
      std::vector<QString> texts;
      for (const std::u16string_view text :
           {langxing::StatusCheckingVersion, langxing::StatusFetched, langxing::StatusProcessing,
            langxing::StatusProcessed})
        texts.push_back(QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size())));
      return texts;
    }
    default:
      return {};
  }
}

// The settings pane's lowest control, the colour frame, and the margin kept under it.
constexpr int SettingsMarginPx = 8;
// Room the article view keeps beside the left pane at the least.
constexpr int ArticleViewLeastPx = 120;
}  // namespace

QSize Form1::MinimumClientSize() const {
  const QRect frame = frameGeometry();
  const QRect client = geometry();
  const bool framed = frame.size() != client.size();
  const int borderWidth =
      framed ? frame.width() - client.width() : TwipsToPixels(langxing::DesignBorderWidth);
  const int borderHeight =
      framed ? frame.height() - client.height() : TwipsToPixels(langxing::DesignBorderHeight);

  // Wide enough that every panel holds its longest text, and the article view keeps some room.
  double outerWidth =
      TwipsToPixels(panes_.TabStrip1.width + panes_.Picture2.width + 120) + ArticleViewLeastPx;
  for (int panel = 1; panel <= StatusBar::PanelCount; ++panel) {
    const QLabel* label = StatusBar1->Panel(panel);
    const QMargins margins = label->contentsMargins();
    for (const QString& text : LongestPanelTexts(panel, StatusBar1->PanelText(TitlePanel))) {
      // A trailing blank (the title has one) need not show.
      const int needed = label->fontMetrics().horizontalAdvance(text.trimmed()) +
                         2 * label->frameWidth() + margins.left() + margins.right();
      outerWidth = std::max(outerWidth, std::ceil(needed / PanelShares[panel - 1]));
    }
  }
  // Tall enough that the settings pane shows its colour frame whole: the pane is 1050 twips
  // shorter than the window's outer height (the resize rule's Frame2 and Frame3 steps).
  const int settingsBottom = Frame3->SwatchFrameBottom() + SettingsMarginPx;
  const int outerHeight = TwipsToPixels(panes_.Frame3.top + 700 + 350) + settingsBottom;
  return {static_cast<int>(outerWidth) - borderWidth, outerHeight - borderHeight};
}

namespace {

// Maximised (or full screen), a window manager draws less frame, or none, around the window, so
// its frame no longer stands for the designed border: the panes would end short of the status
// bar by the difference. The window is then measured as its client area plus that border.
bool FrameStandsForTheBorder(const QWidget& window) {
  return !(window.windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)) &&
         window.frameGeometry().size() != window.geometry().size();
}

}  // namespace

double Form1::OuterWidthTwips() const {
  const QRect frame = frameGeometry();
  const QRect client = geometry();
  if (FrameStandsForTheBorder(*this)) return frame.width() * langxing::TwipsPerPixel;
  return client.width() * langxing::TwipsPerPixel + langxing::DesignBorderWidth;
}

double Form1::OuterHeightTwips() const {
  const QRect frame = frameGeometry();
  const QRect client = geometry();
  if (FrameStandsForTheBorder(*this)) return frame.height() * langxing::TwipsPerPixel;
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
  if (watchPlace_) KeepSettingsSoon();
}

void Form1::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  // Maximising may come after its resize; the panes are laid out for the new state.
  if (event->type() == QEvent::WindowStateChange) {
    Form_Resize();
    if (watchPlace_) KeepSettingsSoon();
  }
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
    Frame3->PlaceForCurrentStyle();
    setMinimumSize(MinimumClientSize());
    CentreOnScreen();
    RestoreWindowPlace();
  }
  QWidget::setVisible(visible);
}
