// SPDX-License-Identifier: GPL-3.0-or-later
// What the article view fetches besides the pages it shows: pictures while "显示图像" is
// ticked, and while "显示视频" is ticked the media of the portal's own hosts; nothing else. No
// frame, style sheet, font, prefetch, object, embed or script ever leaves, so a page can
// neither pull in another host's content nor make traffic the options said not to make.
#pragma once

#include <QByteArray>
#include <QUrl>
#include <QWebEngineUrlRequestInfo>
#include <QWebEngineUrlRequestInterceptor>

// Whether a request of this kind for url may go out under the given options. Main frames are
// always let through: which pages the view shows is decided where navigations are accepted.
bool MayFetch(QWebEngineUrlRequestInfo::ResourceType type, const QUrl& url, bool pictures,
              bool video);

// Whether url is on the portal's domain (the domain itself or a host under it).
bool IsPortalHost(const QUrl& url);

// The interceptor on the article view's profile. Qt 6 calls interceptRequest on the UI thread
// (for an interceptor installed on a profile or a page), the thread the window changes the
// options on, so they need no lock.
class ResourcePolicy final : public QWebEngineUrlRequestInterceptor {
  Q_OBJECT

 public:
  using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;

  void SetPictures(bool pictures) { pictures_ = pictures; }
  void SetVideo(bool video) { video_ = video; }
  // The address of the article the written pages stand for. What they fetch tells its site
  // as the referrer (a written page's own address means nothing to a server, and the portal's
  // picture host answers only the portal's pages).
  void SetArticle(const QUrl& article);

  void interceptRequest(QWebEngineUrlRequestInfo& info) override;

 private:
  bool pictures_ = true;
  bool video_ = false;
  QByteArray referrer_;  // the article's site, "http://host/"; empty when it has none
};
