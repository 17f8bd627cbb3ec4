// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/status_bar.hpp"

#include <QLabel>

StatusBar::StatusBar(QWidget* parent) : QWidget(parent) {
  for (auto& panel : panels_) {
    panel = new QLabel(this);
    panel->setTextFormat(Qt::PlainText);  // announcement texts come from the network
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    // Panel 1 is a tenth of the window wide, about 75 px at the design size, and its longest
    // text is six full-width characters (72 px): one pixel of frame on each side and one of
    // padding on the left is all the room the panel can spare.
    panel->setLineWidth(1);
    panel->setIndent(0);
    panel->setContentsMargins(1, 0, 0, 0);
  }
  widths_.fill(100);
  PlacePanels();
}

QLabel* StatusBar::Panel(int panel) const {
  return panel >= 1 && panel <= PanelCount ? panels_[panel - 1] : nullptr;
}

void StatusBar::SetPanelText(int panel, const QString& text) {
  QLabel* label = Panel(panel);
  if (label == nullptr) return;
  label->setText(text);
  // A text longer than its panel is cut off at the panel's edge; the whole of it shows here.
  label->setToolTip(text);
}

QString StatusBar::PanelText(int panel) const {
  QLabel* label = Panel(panel);
  return label != nullptr ? label->text() : QString();
}

void StatusBar::SetPanelWidths(const std::array<int, PanelCount>& widths) {
  widths_ = widths;
  PlacePanels();
}

void StatusBar::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  PlacePanels();
}

void StatusBar::PlacePanels() {
  int x = 0;
  for (int i = 0; i < PanelCount; ++i) {
    const int w = widths_[i] > 0 ? widths_[i] : 0;
    panels_[i]->setGeometry(x, 0, w, height());
    x += w;
  }
}
