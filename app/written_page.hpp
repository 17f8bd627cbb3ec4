// SPDX-License-Identifier: GPL-3.0-or-later
// Serving the pages the article view writes: each written page is handed to the browser
// engine through a URL scheme of the program's own instead of a data: URL, so a page of any
// size shows (loading HTML text directly is limited to 2 MB).
#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <QWebEngineUrlSchemeHandler>
#include <cstdint>

// The scheme's name. It must be registered (RegisterWrittenPageScheme) before the
// QApplication is created.
inline constexpr char WrittenPageScheme[] = "langxing-page";

// Registers the scheme with the browser engine. Call once, before the QApplication exists;
// further calls do nothing.
void RegisterWrittenPageScheme();

// Whether RegisterWrittenPageScheme ran before the engine started.
bool WrittenPageSchemeRegistered();

// The page with a <base href> for baseAddress inserted before anything it holds, so that its
// relative addresses (and "#name" links) resolve against the article, whatever <base> the page
// names itself. Unchanged when baseAddress is not an absolute address.
QString WithBaseAddress(const QString& html, const QString& baseAddress);

// The page with a style sheet in front that the page's style sheets cannot override: no
// animation or transition runs, and nothing is blurred, shadowed, blended or kept on a layer
// of its own -- the work a page's styles could otherwise make the engine do over and over.
QString WithStillStyle(const QString& html);

// Holds the page written last and serves it under its own address. Only the latest page is
// kept: a reload of it still works, older written pages are gone.
class WrittenPageHandler final : public QWebEngineUrlSchemeHandler {
  Q_OBJECT

 public:
  using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;

  // Stores the page (encoded as UTF-8) and returns the address it is served under.
  QUrl Store(const QString& html);
  // Whether url is the address of the page stored last.
  bool IsLatest(const QUrl& url) const;
  // Whether a page was stored, and the address of the one stored last.
  bool HasPage() const { return !address_.isEmpty(); }
  QUrl Latest() const { return address_; }

  void requestStarted(QWebEngineUrlRequestJob* job) override;

 private:
  QByteArray body_;
  QUrl address_;
  std::uint64_t serial_ = 0;
};
