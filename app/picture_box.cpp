// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/picture_box.hpp"

#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "app/layout.hpp"

namespace {

// A picture box that takes the focus is pressed like a button.
class PressableBoxAccessible final : public QAccessibleWidget {
 public:
  explicit PressableBoxAccessible(PictureBox* box) : QAccessibleWidget(box, QAccessible::Button) {}

  QStringList actionNames() const override {
    return QAccessibleWidget::actionNames() << pressAction();
  }
  void doAction(const QString& action) override {
    if (action == pressAction())
      static_cast<PictureBox*>(widget())->Press();
    else
      QAccessibleWidget::doAction(action);
  }
};

QAccessibleInterface* PictureBoxAccessible(const QString& className, QObject* object) {
  auto* box = qobject_cast<PictureBox*>(object);
  if (className != QLatin1String("PictureBox") || box == nullptr ||
      box->focusPolicy() == Qt::NoFocus)
    return nullptr;  // the plain frame's interface
  return new PressableBoxAccessible(box);
}

}  // namespace

PictureBox::PictureBox(QWidget* parent) : QFrame(parent) {
  static const bool accessibleFactoryInstalled = [] {
    QAccessible::installFactory(PictureBoxAccessible);
    return true;
  }();
  (void)accessibleFactoryInstalled;
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

void PictureBox::keyPressEvent(QKeyEvent* e) {
  const int key = e->key();
  if (key != Qt::Key_Space && key != Qt::Key_Return && key != Qt::Key_Enter) {
    QFrame::keyPressEvent(e);
    return;
  }
  e->accept();
  if (e->isAutoRepeat()) return;  // a held key is one press
  Press(ShiftBits(e->modifiers()));
}

void PictureBox::Press(int shift) {
  emit MouseDown(1, shift, 0, 0);
  emit MouseUp(1, shift, 0, 0);
}

void PictureBox::paintEvent(QPaintEvent* e) {
  QFrame::paintEvent(e);
  if (!hasFocus()) return;
  // Shown however the focus came (Space and Enter act on this box), and in black dots on white
  // so that it stands out on any colour the box may have, white or black.
  QPainter painter(this);
  const QRect frame = contentsRect().adjusted(1, 1, -2, -2);
  painter.setPen(QPen(Qt::white, 1));
  painter.drawRect(frame);
  painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
  painter.drawRect(frame);
}
