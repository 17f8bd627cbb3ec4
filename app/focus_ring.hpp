// SPDX-License-Identifier: GPL-3.0-or-later
// A ring in the highlight colour around the pane that holds the keyboard focus (the tabs, the
// catalog, the headline list, the article view), drawn over the pane's edge, so that where the
// keys go can be seen at a glance whatever the style draws.
#pragma once

#include <QPointer>
#include <QWidget>
#include <vector>

class FocusRing final : public QWidget {
  Q_OBJECT

 public:
  // A child of `window`, around whichever of `panes` holds the focus (itself or a child).
  FocusRing(QWidget* window, std::vector<QWidget*> panes);

  // The pane the ring is around, or nullptr while none of them has the focus.
  QWidget* Around() const { return around_; }

  static constexpr int Thickness = 2;

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Follow(QWidget* focused);
  void Place();
  std::vector<QWidget*> panes_;
  QPointer<QWidget> around_;
};
