// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/user_home.hpp"

#include <QDir>
#include <QFontDatabase>

namespace {

// No folder can be made below a device file, not even by root, so the engine's attempt to
// create HOME/.pki/nssdb fails and it opens its certificate store without a database.
constexpr char kUnusableHome[] = "/dev/null";

QByteArray userHome;  // empty until KeepCertificateStoreOutOfHome ran

void PinUnderHome(const char* variable, const char* relativePath) {
  if (!qEnvironmentVariableIsEmpty(variable)) return;
  qputenv(variable, userHome + '/' + relativePath);
}

}  // namespace

void KeepCertificateStoreOutOfHome() {
  if (!userHome.isEmpty()) return;
  userHome = qgetenv("HOME");
  if (userHome.isEmpty()) userHome = QDir::homePath().toLocal8Bit();
  // Fonts are looked up (~/.fonts too) before HOME moves.
  QFontDatabase::families();
  PinUnderHome("XDG_CONFIG_HOME", ".config");
  PinUnderHome("XDG_DATA_HOME", ".local/share");
  PinUnderHome("XDG_CACHE_HOME", ".cache");
  PinUnderHome("XDG_STATE_HOME", ".local/state");
  PinUnderHome("XAUTHORITY", ".Xauthority");
  PinUnderHome("ICEAUTHORITY", ".ICEauthority");
  qputenv("HOME", kUnusableHome);
}

ScopedUserHome::ScopedUserHome() {
  if (userHome.isEmpty()) return;
  replaced_ = qgetenv("HOME");
  qputenv("HOME", userHome);
}

ScopedUserHome::~ScopedUserHome() {
  if (!replaced_.isEmpty()) qputenv("HOME", replaced_);
}
