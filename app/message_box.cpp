// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/message_box.hpp"

#include <QMessageBox>
#include <QPushButton>

namespace langxing {

namespace {

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
  QMessageBox box(IconOfStyle(style), QStringLiteral("朗星快报"), QString::fromStdU16String(text),
                  QMessageBox::NoButton, parent_);
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
