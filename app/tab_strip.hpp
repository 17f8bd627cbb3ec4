// The tab strip over the left pane: a row of tabs above a framed area in which the pane's
// views lie (they are siblings of the strip, stacked over it).
#pragma once

#include <QTabBar>

class TabStrip final : public QTabBar {
  Q_OBJECT

 public:
  explicit TabStrip(QWidget* parent = nullptr);

 protected:
  void paintEvent(QPaintEvent* event) override;
};
