// SPDX-License-Identifier: GPL-3.0-or-later
// The visible article view WebBrowser2: a QWebEngineView on an off-the-record profile that
// shows no dialogs of its own. It shows pages and does not
// run them: no scripts, no WebGL, no PDF viewer, no local storage, no autoplay; a page it wrote
// leaves only through the user's own link clicks, and a renderer that dies or hangs is replaced.
#pragma once

#include <QWebEnginePage>
#include <QWebEngineView>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/hang_watch.hpp"

class AddressOpener;
class QWebEngineProfile;
class ResourcePolicy;
class WrittenPageHandler;

class ArticleView final : public QWebEngineView {
  Q_OBJECT

 public:
  // Registers the URL scheme written pages are served under. Must be called before the
  // QApplication is created, in every program that shows an ArticleView. Without it, written
  // pages still show, but only up to the engine's 2 MB limit for HTML text.
  static void RegisterSchemes();

  explicit ArticleView(QWidget* parent = nullptr);
  ~ArticleView() override;

  // Starts loading `url`; DocumentComplete reports the end.
  void Navigate(const std::u16string& url);
  // Reloads the page shown (the window calls it right before each write).
  void Refresh2();
  // No dialogs of the view's own (script alerts, certificate prompts).
  void SetSilent(bool silent);
  // Shows exactly the given page, with `baseUrl` as its address and base.
  void WriteDocument(const std::u16string& html, const std::u16string& baseUrl);
  // Address of the page shown.
  std::u16string LocationURL() const;

  std::function<void()> DocumentComplete;                  // once per navigation
  std::function<void(const std::u16string&)> TitleChange;  // the new page title
  // The failure page's retry link was followed (see ArticleFailurePage).
  std::function<void()> RetryRequested;

  // Where links that ask for a new window (target=_blank) are opened. Not owned; nullptr
  // returns to the desktop's default browser, the initial choice.
  void SetAddressOpener(AddressOpener* opener);

  // Whether pictures load into the pages shown from now on (the engine's own setting, so no
  // picture of any kind is fetched while it is off). The window sets it at each render.
  void SetLoadImages(bool load);
  // Whether video and sound of the portal's own hosts load into the pages shown from now on;
  // media of other hosts never does. Off at first; the window sets it at each render.
  void SetLoadVideo(bool load);

  // How long a write may go unshown before the renderer is asked whether it still answers,
  // and how long it then has to answer before it counts as hung and is replaced. A renderer
  // that answers but leaves the write unshown through a second such round is replaced too.
  static constexpr int kWriteWatchMs = HangWatch::kWriteWatchMs;
  static constexpr int kRendererAnswerMs = HangWatch::kRendererAnswerMs;

 protected:
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  void InstallPage();
  bool AcceptNavigation(const QUrl& url, QWebEnginePage::NavigationType type, bool isMainFrame);
  void OnTitleChanged(const QString& title);
  void OnLoadFinished(bool ok);
  bool ShowsWrittenPage() const;
  bool FollowLink(const QUrl& url);
  void OnRendererGone();

  QWebEngineProfile* profile_;
  ResourcePolicy* resources_;          // owned by the view, installed on profile_
  QWebEnginePage* ownPage_ = nullptr;  // the page installed last, owned by the view
  std::vector<QMetaObject::Connection> pageConnections_;  // the view's own, to ownPage_
  WrittenPageHandler* writtenPages_ = nullptr;            // null when the scheme is not registered
  std::unique_ptr<AddressOpener> desktopOpener_;
  AddressOpener* opener_;
  // The address a page was last written with, and whether that write is still on its way
  // (the view's URL changes only once the engine starts loading it).
  QString writtenBase_;
  bool writePending_ = false;
  bool writeShown_ = true;  // the latest write has finished loading
  // A navigation the view or the user started from a written page is on its way; its server
  // redirects are part of it and are followed.
  bool ownNavigation_ = false;

  HangWatch* hangWatch_ = nullptr;  // owned by the view
  // The write the written page was loaded again for after its renderer went (once each).
  std::uint64_t reloadedFor_ = 0;
};
