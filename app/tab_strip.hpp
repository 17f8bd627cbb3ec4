// SPDX-License-Identifier: GPL-3.0-or-later
// The tab strip over the left pane: a row of tabs along its top edge above a framed area, in
// which the pane's views lie (they are siblings of the strip, stacked over it).
#pragma once

#include <QWidget>

class QTabBar;

class TabStrip final : public QWidget {
  Q_OBJECT

 public:
  explicit TabStrip(QWidget* parent = nullptr);

  QTabBar* Bar() const { return bar_; }
  int addTab(const QString& caption);
  int count() const;
  QString tabText(int index) const;
  void setTabText(int index, const QString& caption);
  // Where the style draws the caption of tab `index`, in the bar's coordinates.
  QRect TabTextRect(int index) const;
  int currentIndex() const;
  // Selecting another tab emits currentChanged, as a click does.
  void setCurrentIndex(int index);

 signals:
  void currentChanged(int index);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void PlaceBar();
  QTabBar* bar_;
};
