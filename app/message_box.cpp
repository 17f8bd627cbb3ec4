// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/message_box.hpp"

#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>

namespace langxing {

namespace {

// A box whose owner is not on the screen yet (the message of a failed start-up comes before the
// window) is centred on the screen the owner will open on; Qt would centre it on the owner's
// unplaced geometry, in the screen's top-left corner. The box has its final size only once it
// is shown, so it is placed then, before it appears.
class CentredMessageBox final : public QMessageBox {
 public:
  using QMessageBox::QMessageBox;
  QScreen* centreOn = nullptr;

 protected:
  void showEvent(QShowEvent* event) override {
    QMessageBox::showEvent(event);
    if (centreOn == nullptr) return;
    const QRect area = centreOn->availableGeometry();
    const QSize outer = frameGeometry().size();
    move(area.left() + (area.width() - outer.width()) / 2,
         area.top() + (area.height() - outer.height()) / 2);
  }
};

// The low four bits choose the buttons, the next four the icon.
constexpr int ButtonBits = 0x0F;
constexpr int IconBits = 0x70;

QMessageBox::Icon IconOfStyle(int style) {
  switch (style & IconBits) {
    case 16:
      return QMessageBox::Critical;
    case 32:
      return QMessageBox::Question;
    case 48:
      return QMessageBox::Warning;
    case 64:
      return QMessageBox::Information;
    default:
      return QMessageBox::NoIcon;
  }
}

}  // namespace

int QtMessageBoxService::Show(const std::u16string& text, int style) {
  CentredMessageBox box(IconOfStyle(style), QStringLiteral("朗星快报"),
                        QString::fromStdU16String(text), QMessageBox::NoButton, parent_);
  if (parent_ == nullptr || !parent_->isVisible())
    box.centreOn = parent_ != nullptr ? parent_->screen() : QGuiApplication::primaryScreen();
  QPushButton* ok = box.addButton(QMessageBox::Ok);
  QPushButton* cancel = nullptr;
  if ((style & ButtonBits) == MessageBoxOkCancel) cancel = box.addButton(QMessageBox::Cancel);
  box.setDefaultButton(ok);
  box.setEscapeButton(cancel != nullptr ? cancel : ok);
  box.exec();
  return box.clickedButton() == ok ? MessageBoxResultOk
         : cancel != nullptr       ? MessageBoxResultCancel
                                   : MessageBoxResultOk;
}

}  // namespace langxing
