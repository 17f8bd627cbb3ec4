// SPDX-License-Identifier: GPL-3.0-or-later
// Opening an address in the desktop's default web browser.
#pragma once

#include <QString>
#include <QUrl>
#include <functional>
#include <string>

// Hands an address to something outside the program that shows it. Returns whether the
// address was handed on; an address that is refused is simply not opened.
class AddressOpener {
 public:
  virtual ~AddressOpener() = default;
  virtual bool Open(const std::u16string& address) = 0;
};

// Opens only absolute http and https addresses without user information and at most 8 KiB
// long, through the desktop's URL handler
// (QDesktopServices). The address goes to the browser as one URL: no command line is built
// and no shell ever sees it, so nothing in the address can run as a command.
class DesktopAddressOpener final : public AddressOpener {
 public:
  using Launcher = std::function<bool(const QUrl&)>;

  // The launcher receives the checked URL; by default QDesktopServices::openUrl.
  explicit DesktopAddressOpener(Launcher launcher = {});

  bool Open(const std::u16string& address) override;

 private:
  Launcher launcher_;
};

// The URL an address is opened as, or an invalid QUrl when it must not be opened.
QUrl OpenableUrlOf(const std::u16string& address);

// The address as messages show it: its first 80 characters and its length when it is longer.
QString ElidedAddress(const QString& address);
