// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/picture_box.hpp"

#include <QMouseEvent>

#include "app/layout.hpp"

PictureBox::PictureBox(QWidget* parent) : QFrame(parent) {
  setAutoFillBackground(true);
  SetBorderStyle(1);
}

void PictureBox::SetBackColor(const QColor& colour) {
  QPalette p = palette();
  p.setColor(QPalette::Window, colour);
  setPalette(p);
  update();
}

QColor PictureBox::BackColor() const { return palette().color(QPalette::Window); }

void PictureBox::SetBorderStyle(int style) {
  borderStyle_ = style;
  if (style == 0) {
    setFrameStyle(QFrame::NoFrame);
  } else {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
  }
}

int ButtonBits(Qt::MouseButtons buttons) {
  int bits = 0;
  if (buttons & Qt::LeftButton) bits |= 1;
  if (buttons & Qt::RightButton) bits |= 2;
  if (buttons & Qt::MiddleButton) bits |= 4;
  return bits;
}

int ShiftBits(Qt::KeyboardModifiers modifiers) {
  int bits = 0;
  if (modifiers & Qt::ShiftModifier) bits |= 1;
  if (modifiers & Qt::ControlModifier) bits |= 2;
  if (modifiers & Qt::AltModifier) bits |= 4;
  return bits;
}

namespace {
constexpr double ToTwips(double pixels) { return pixels * langxing::TwipsPerPixel; }
}  // namespace

void PictureBox::mousePressEvent(QMouseEvent* e) {
  emit MouseDown(ButtonBits(e->button()), ShiftBits(e->modifiers()), ToTwips(e->position().x()),
                 ToTwips(e->position().y()));
}

void PictureBox::mouseMoveEvent(QMouseEvent* e) {
  emit MouseMove(ButtonBits(e->buttons()), ShiftBits(e->modifiers()), ToTwips(e->position().x()),
                 ToTwips(e->position().y()));
}

void PictureBox::mouseReleaseEvent(QMouseEvent* e) {
  emit MouseUp(ButtonBits(e->button()), ShiftBits(e->modifiers()), ToTwips(e->position().x()),
               ToTwips(e->position().y()));
}
