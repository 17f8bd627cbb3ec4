// SPDX-License-Identifier: GPL-3.0-or-later
// The visible article view WebBrowser2: a QWebEngineView on an off-the-record profile that
// shows no dialogs of its own, behind the browser-view interface.
#pragma once

#include <QWebEngineView>
#include <memory>

#include "core/browser_view.hpp"

class AddressOpener;
class QWebEngineProfile;
class WrittenPageHandler;

class ArticleView final : public QWebEngineView, public langxing::BrowserView {
  Q_OBJECT

 public:
  // Registers the URL scheme written pages are served under. Must be called before the
  // QApplication is created, in every program that shows an ArticleView. Without it, written
  // pages still show, but only up to the engine's 2 MB limit for HTML text.
  static void RegisterSchemes();

  explicit ArticleView(QWidget* parent = nullptr);
  ~ArticleView() override;

  void Navigate(const std::u16string& url) override;
  void Refresh2() override;
  void SetSilent(bool silent) override;
  void WriteDocument(const std::u16string& html, const std::u16string& baseUrl) override;
  std::u16string LocationURL() const override;

  // Where links that ask for a new window (target=_blank) are opened. Not owned; nullptr
  // returns to the desktop's default browser, the initial choice.
  void SetAddressOpener(AddressOpener* opener);

 private:
  void OnTitleChanged(const QString& title);
  bool ShowsWrittenPage() const;
  bool FollowLink(const QUrl& url);

  QWebEngineProfile* profile_;
  WrittenPageHandler* writtenPages_ = nullptr;  // null when the scheme is not registered
  std::unique_ptr<AddressOpener> desktopOpener_;
  AddressOpener* opener_;
  // The address a page was last written with, and whether that write is still on its way
  // (the view's URL changes only once the engine starts loading it).
  QString writtenBase_;
  bool writePending_ = false;
};
