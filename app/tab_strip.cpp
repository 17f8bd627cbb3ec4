// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/tab_strip.hpp"

#include <QStyleOptionTabWidgetFrame>
#include <QStylePainter>
#include <QTabBar>
#include <algorithm>

namespace {

// Tabs just wide enough for their captions, so that the three fit the pane's design width.
class CompactTabBar final : public QTabBar {
 public:
  using QTabBar::QTabBar;

 protected:
  QSize tabSizeHint(int index) const override {
    QSize size = QTabBar::tabSizeHint(index);
    size.setWidth(std::min(size.width(), fontMetrics().horizontalAdvance(tabText(index)) + 16));
    return size;
  }
};

}  // namespace

TabStrip::TabStrip(QWidget* parent) : QWidget(parent), bar_(new CompactTabBar(this)) {
  bar_->setExpanding(false);
  bar_->setDrawBase(false);
  bar_->setUsesScrollButtons(true);
  bar_->setElideMode(Qt::ElideNone);
  setFocusProxy(bar_);
  setFocusPolicy(bar_->focusPolicy());
  connect(bar_, &QTabBar::currentChanged, this, &TabStrip::currentChanged);
  PlaceBar();
}

int TabStrip::addTab(const QString& caption) {
  const int index = bar_->addTab(caption);
  PlaceBar();
  return index;
}

int TabStrip::count() const { return bar_->count(); }
QString TabStrip::tabText(int index) const { return bar_->tabText(index); }
void TabStrip::setTabText(int index, const QString& caption) { bar_->setTabText(index, caption); }
int TabStrip::currentIndex() const { return bar_->currentIndex(); }
void TabStrip::setCurrentIndex(int index) { bar_->setCurrentIndex(index); }

void TabStrip::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  PlaceBar();
}

void TabStrip::PlaceBar() {
  bar_->setGeometry(0, 0, width(), bar_->sizeHint().height());
  update();
}

void TabStrip::paintEvent(QPaintEvent*) {
  // The frame begins where the tabs end, so that the selected tab opens into it.
  const int top = bar_->height() - 1;
  QStylePainter painter(this);
  QStyleOptionTabWidgetFrame frame;
  frame.initFrom(this);
  frame.rect = QRect(0, top, width(), height() - top);
  frame.shape = bar_->shape();
  frame.tabBarRect =
      bar_->count() > 0 ? bar_->tabRect(0).united(bar_->tabRect(bar_->count() - 1)) : QRect();
  frame.tabBarSize = frame.tabBarRect.size();
  frame.selectedTabRect = bar_->tabRect(bar_->currentIndex());
  painter.drawPrimitive(QStyle::PE_FrameTabWidget, frame);
}
