// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/focus_ring.hpp"

#include <QApplication>
#include <QEvent>
#include <QPainter>
#include <QRegion>

FocusRing::FocusRing(QWidget* window, std::vector<QWidget*> panes)
    : QWidget(window), panes_(std::move(panes)) {
  setObjectName(QStringLiteral("FocusRing"));
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setFocusPolicy(Qt::NoFocus);
  hide();
  for (QWidget* pane : panes_) pane->installEventFilter(this);
  connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { Follow(now); });
}

void FocusRing::Follow(QWidget* focused) {
  around_ = nullptr;
  for (QWidget* pane : panes_)
    if (focused != nullptr && (focused == pane || pane->isAncestorOf(focused))) around_ = pane;
  Place();
}

void FocusRing::Place() {
  if (around_ == nullptr || !around_->isVisible() || parentWidget() == nullptr) {
    hide();
    return;
  }
  const QRect area(around_->mapTo(parentWidget(), QPoint(0, 0)), around_->size());
  setGeometry(area);
  // Only the ring itself covers the pane: its inside lets the pane's own painting through.
  const QRect whole = rect();
  setMask(QRegion(whole).subtracted(
      QRegion(whole.adjusted(Thickness, Thickness, -Thickness, -Thickness))));
  raise();
  show();
  update();
}

bool FocusRing::eventFilter(QObject* watched, QEvent* event) {
  if (watched == around_) {
    switch (event->type()) {
      case QEvent::Move:
      case QEvent::Resize:
      case QEvent::Show:
      case QEvent::Hide:
        Place();
        break;
      default:
        break;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void FocusRing::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().color(QPalette::Active, QPalette::Highlight));
}
