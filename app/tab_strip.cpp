#include "app/tab_strip.hpp"

#include <QStyleOptionTabWidgetFrame>
#include <QStylePainter>

TabStrip::TabStrip(QWidget* parent) : QTabBar(parent) {
  setExpanding(false);
  setDrawBase(false);
  setUsesScrollButtons(true);
  setElideMode(Qt::ElideNone);
}

void TabStrip::paintEvent(QPaintEvent* event) {
  {
    const int tabsBottom = count() > 0 ? tabRect(0).bottom() : 0;
    QStylePainter painter(this);
    QStyleOptionTabWidgetFrame frame;
    frame.initFrom(this);
    frame.rect = QRect(0, tabsBottom, width(), height() - tabsBottom);
    frame.shape = shape();
    frame.tabBarRect = count() > 0 ? tabRect(0).united(tabRect(count() - 1)) : QRect();
    frame.tabBarSize = frame.tabBarRect.size();
    painter.drawPrimitive(QStyle::PE_FrameTabWidget, frame);
  }
  QTabBar::paintEvent(event);
}
