// SPDX-License-Identifier: GPL-3.0-or-later
// A picture box: a plain coloured area with an optional border that reports mouse presses,
// moves and releases with the button state and the position in twips relative to itself.
// Given a focus policy, it shows a focus frame while it has the focus, and Space or Enter on it
// reports a left-button press and release at its top-left corner, as a click would; to
// assistive technology it is then a button with a press action.
#pragma once

#include <QColor>
#include <QFrame>

class PictureBox final : public QFrame {
  Q_OBJECT

 public:
  explicit PictureBox(QWidget* parent = nullptr);

  void SetBackColor(const QColor& colour);
  QColor BackColor() const;
  // 0: no border; 1: a sunken single border.
  void SetBorderStyle(int style);
  int BorderStyle() const { return borderStyle_; }
  // A left-button press and release at the top-left corner, as Space or Enter give them.
  void Press(int shift = 0);

 signals:
  // `button` is the one button pressed or released, `buttons` every button held during a move:
  // bit 1 left, 2 right, 4 middle. `shift`: bit 1 Shift, 2 Ctrl, 4 Alt.
  void MouseDown(int button, int shift, double x, double y);
  void MouseMove(int buttons, int shift, double x, double y);
  void MouseUp(int button, int shift, double x, double y);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  int borderStyle_ = 1;
};

// The button bits of a set of Qt mouse buttons (left 1, right 2, middle 4; others ignored).
int ButtonBits(Qt::MouseButtons buttons);
// The shift bits of a set of keyboard modifiers (Shift 1, Ctrl 2, Alt 4).
int ShiftBits(Qt::KeyboardModifiers modifiers);
