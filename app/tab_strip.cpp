// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/tab_strip.hpp"

#include <QApplication>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOptionTab>
#include <QStyleOptionTabWidgetFrame>
#include <QStylePainter>
#include <QTabBar>

namespace {

// The common styles pad a tab's caption by 12 px on each side, which makes the three tabs wider
// than the pane. Half of that still keeps the captions clear of the tab's edges; the tab itself
// is sized by the style from its caption, so it never comes out narrower than its text.
class CompactTabStyle final : public QProxyStyle {
 public:
  using QProxyStyle::QProxyStyle;

  int pixelMetric(PixelMetric metric, const QStyleOption* option,
                  const QWidget* widget) const override {
    const int value = QProxyStyle::pixelMetric(metric, option, widget);
    return metric == PM_TabBarTabHSpace ? value / 2 : value;
  }
};

class CaptionTabBar final : public QTabBar {
 public:
  explicit CaptionTabBar(QWidget* parent) : QTabBar(parent) {
    auto* style = new CompactTabStyle(QStyleFactory::create(QApplication::style()->name()));
    style->setParent(this);
    setStyle(style);
  }

  QRect TextRect(int index) const {
    QStyleOptionTab option;
    initStyleOption(&option, index);
    return style()->subElementRect(QStyle::SE_TabBarTabText, &option, this);
  }
};

}  // namespace

TabStrip::TabStrip(QWidget* parent) : QWidget(parent), bar_(new CaptionTabBar(this)) {
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
QRect TabStrip::TabTextRect(int index) const {
  return static_cast<const CaptionTabBar*>(bar_)->TextRect(index);
}
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
