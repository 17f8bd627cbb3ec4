// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/font_size_bar.hpp"

#include <QStyleOptionFocusRect>
#include <QStylePainter>
#include <QWheelEvent>

namespace {
constexpr int WheelStep = 120;  // one notch of a wheel, in eighths of a degree
}  // namespace

FontSizeBar::FontSizeBar(QWidget* parent) : QScrollBar(Qt::Horizontal, parent) {
  setInvertedControls(false);
  setFocusPolicy(Qt::StrongFocus);
}

bool FontSizeBar::event(QEvent* event) {
  // QScrollBar takes the wheel in event() itself; a horizontal bar would move left on a turn
  // away from the user.
  if (event->type() != QEvent::Wheel) return QScrollBar::event(event);
  auto* wheel = static_cast<QWheelEvent*>(event);
  const QPoint delta = wheel->angleDelta();
  int amount = delta.y() != 0 ? delta.y() : delta.x();
  if (wheel->inverted()) amount = -amount;
  wheelRest_ += amount;
  while (wheelRest_ >= WheelStep) {
    wheelRest_ -= WheelStep;
    triggerAction(SliderSingleStepAdd);
  }
  while (wheelRest_ <= -WheelStep) {
    wheelRest_ += WheelStep;
    triggerAction(SliderSingleStepSub);
  }
  wheel->accept();
  return true;
}

void FontSizeBar::paintEvent(QPaintEvent* event) {
  QScrollBar::paintEvent(event);
  if (!hasFocus()) return;
  QStylePainter painter(this);
  QStyleOptionFocusRect frame;
  frame.initFrom(this);
  // Shown however the focus came, by keyboard or by a click: the arrow keys act on this bar.
  frame.state |= QStyle::State_KeyboardFocusChange;
  frame.backgroundColor = palette().color(QPalette::Window);
  painter.drawPrimitive(QStyle::PE_FrameFocusRect, frame);
}
