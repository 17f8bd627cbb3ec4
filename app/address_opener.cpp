// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/address_opener.hpp"

#include <QDesktopServices>
#include <QString>

#include "app/user_home.hpp"
#include "update/announcement.hpp"

QUrl OpenableUrlOf(const std::u16string& address) {
  if (!langxing::IsOpenableDownloadAddress(address)) return {};
  // Checked again on the parsed form, so that the browser receives exactly what was judged.
  const QUrl url(QString::fromStdU16String(address), QUrl::StrictMode);
  const QString scheme = url.scheme();
  if (!url.isValid() || url.isRelative() || url.host().isEmpty()) return {};
  if (scheme != QLatin1String("http") && scheme != QLatin1String("https")) return {};
  return url;
}

DesktopAddressOpener::DesktopAddressOpener(Launcher launcher) : launcher_(std::move(launcher)) {
  if (!launcher_) {
    launcher_ = [](const QUrl& url) {
      // The desktop's browser runs in the user's own home, not in the one the engine sees.
      const ScopedUserHome home;
      return QDesktopServices::openUrl(url);
    };
  }
}

bool DesktopAddressOpener::Open(const std::u16string& address) {
  const QUrl url = OpenableUrlOf(address);
  if (!url.isValid()) return false;
  return launcher_(url);
}
