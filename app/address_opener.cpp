// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/address_opener.hpp"

#include <QDesktopServices>
#include <QString>
#include <QtGlobal>

#include "app/user_home.hpp"
#include "update/announcement.hpp"

namespace {

// While the desktop is handed an address, messages the toolkit prints about it (a launch that
// failed, say) show the address shortened: it came from a page and may be kilobytes long.
class ScopedAddressElision {
 public:
  explicit ScopedAddressElision(const QUrl& url) {
    address_ = url.toString();
    encoded_ = url.toString(QUrl::FullyEncoded);
    previous_ = qInstallMessageHandler(&ScopedAddressElision::Handle);
  }
  ~ScopedAddressElision() {
    qInstallMessageHandler(previous_);
    address_.clear();
    encoded_.clear();
  }
  ScopedAddressElision(const ScopedAddressElision&) = delete;
  ScopedAddressElision& operator=(const ScopedAddressElision&) = delete;

 private:
  static void Handle(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    QString shown = message;
    for (const QString& address : {address_, encoded_})
      if (!address.isEmpty()) shown.replace(address, ElidedAddress(address));
    if (previous_ != nullptr) previous_(type, context, shown);
  }

  static inline QString address_;
  static inline QString encoded_;
  static inline QtMessageHandler previous_ = nullptr;
};

}  // namespace

QString ElidedAddress(const QString& address) {
  constexpr int kShown = 80;
  if (address.size() <= kShown) return address;
  return address.left(kShown) + QStringLiteral("… (%1 characters)").arg(address.size());
}

QUrl OpenableUrlOf(const std::u16string& address) {
  if (!langxing::IsOpenableDownloadAddress(address)) return {};
  // Checked again on the parsed form, so that the browser receives exactly what was judged.
  const QUrl url(QString::fromStdU16String(address), QUrl::StrictMode);
  const QString scheme = url.scheme();
  if (!url.isValid() || url.isRelative() || url.host().isEmpty()) return {};
  if (scheme != QLatin1String("http") && scheme != QLatin1String("https")) return {};
  if (!url.userInfo().isEmpty()) return {};
  // The encoded form is what travels; non-ASCII characters grow when percent-encoded.
  if (static_cast<std::size_t>(url.toEncoded().size()) > langxing::kMaxOpenableAddressLength)
    return {};
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
  bool opened = false;
  {
    const ScopedAddressElision elision(url);
    opened = launcher_(url);
  }
  if (!opened)
    qWarning("langxing: the desktop did not open %s",
             qUtf8Printable(ElidedAddress(url.toString(QUrl::FullyEncoded))));
  return opened;
}
