// SPDX-License-Identifier: GPL-3.0-or-later
// The horizontal scroll bars that set a font size (HScroll1, HScroll2). Unlike a plain
// QScrollBar, whose key controls run backwards, Right and Up make the value larger and Left and
// Down smaller, and so does the wheel (up larger); the bar shows a focus frame while it has the
// keyboard focus.
#pragma once

#include <QScrollBar>

class FontSizeBar final : public QScrollBar {
  Q_OBJECT

 public:
  explicit FontSizeBar(QWidget* parent = nullptr);

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  int wheelRest_ = 0;  // wheel movement not yet worth a whole step
};
