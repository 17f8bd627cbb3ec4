// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/resource_policy.hpp"

#include <QString>

#include "app/written_page.hpp"
#include "core/portal.hpp"

bool IsPortalHost(const QUrl& url) {
  const QString domain = QString::fromStdU16String(std::u16string(langxing::PortalDomain));
  const QString host = url.host(QUrl::FullyDecoded).toLower();
  if (domain.isEmpty() || host.isEmpty()) return false;
  return host == domain || host.endsWith(QLatin1Char('.') + domain);
}

bool MayFetch(QWebEngineUrlRequestInfo::ResourceType type, const QUrl& url, bool pictures,
              bool video) {
  using Info = QWebEngineUrlRequestInfo;
  switch (type) {
    case Info::ResourceTypeMainFrame:
      return true;
    case Info::ResourceTypeImage:
      // From any host: the portal's pictures live on a picture host of their own.
      return pictures;
    case Info::ResourceTypeMedia:
    case Info::ResourceTypeObject:
      // The portal's video player; plugins stay off, so an object shows no more than media.
      return video && IsPortalHost(url);
    default:
      // Frames, style sheets, fonts, scripts, prefetches, icons, pings, workers, sockets and
      // whatever the engine cannot name.
      return false;
  }
}

void ResourcePolicy::SetArticle(const QUrl& article) {
  QByteArray referrer;
  const QString scheme = article.scheme();
  if ((scheme == QLatin1String("http") || scheme == QLatin1String("https")) &&
      !article.host().isEmpty()) {
    // Only the site, as a browser tells other sites by default: no path, no query.
    referrer = article
                   .adjusted(QUrl::RemoveUserInfo | QUrl::RemovePath | QUrl::RemoveQuery |
                             QUrl::RemoveFragment)
                   .toEncoded() +
               '/';
  }
  referrer_ = referrer;
}

void ResourcePolicy::interceptRequest(QWebEngineUrlRequestInfo& info) {
  if (!MayFetch(info.resourceType(), info.requestUrl(), pictures_, video_)) {
    info.block(true);
    return;
  }
  if (info.firstPartyUrl().scheme() != QLatin1String(WrittenPageScheme)) return;
  if (info.resourceType() == QWebEngineUrlRequestInfo::ResourceTypeMainFrame) return;
  if (referrer_.isEmpty()) return;
  // Nothing of an https article goes out in the clear, as with a browser's own policy.
  if (referrer_.startsWith("https:") && info.requestUrl().scheme() != QLatin1String("https"))
    return;
  info.setHttpHeader("Referer", referrer_);
}
