// SPDX-License-Identifier: GPL-3.0-or-later
// The modal message box, behind an interface so that tests can see what the window says.
#pragma once

#include <string>

class QWidget;

namespace langxing {

// Style values: the icon and the buttons of a box.
inline constexpr int MessageBoxOkCancel = 1;   // OK and Cancel, no icon
inline constexpr int MessageBoxQuestion = 32;  // question-mark icon, OK alone
// Results: the button the user chose.
inline constexpr int MessageBoxResultOk = 1;
inline constexpr int MessageBoxResultCancel = 2;

class MessageBoxService {
 public:
  virtual ~MessageBoxService() = default;
  // Shows `text` modally and returns the button chosen (MessageBoxResultOk or ...Cancel).
  virtual int Show(const std::u16string& text, int style) = 0;
};

// QMessageBox with the program's name as its caption. Closing the box without choosing a
// button counts as Cancel where there is one, as OK otherwise.
class QtMessageBoxService final : public MessageBoxService {
 public:
  explicit QtMessageBoxService(QWidget* parent = nullptr) : parent_(parent) {}
  int Show(const std::u16string& text, int style) override;

 private:
  QWidget* parent_;
};

}  // namespace langxing
