// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/written_page.hpp"

#include <QBuffer>
#include <QRegularExpression>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>

namespace {

bool registered = false;

// Escapes an address for a double-quoted attribute value.
QString AttributeEscaped(QString text) {
  text.replace(QLatin1Char('&'), QLatin1String("&amp;"));
  text.replace(QLatin1Char('"'), QLatin1String("&quot;"));
  text.replace(QLatin1Char('<'), QLatin1String("&lt;"));
  return text;
}

}  // namespace

void RegisterWrittenPageScheme() {
  if (registered) return;
  QWebEngineUrlScheme scheme(WrittenPageScheme);
  // All written pages share one host, so they are one site to the engine and a write reuses
  // the renderer instead of starting a new one (an opaque-origin scheme cost ~1 s per write).
  scheme.setSyntax(QWebEngineUrlScheme::Syntax::Host);
  // Deliberately not a secure scheme: a secure page would have the portal's http images
  // blocked or upgraded as mixed content.
  scheme.setFlags({});
  QWebEngineUrlScheme::registerScheme(scheme);
  registered = true;
}

bool WrittenPageSchemeRegistered() { return registered; }

namespace {

// The tag inserted ahead of everything the page holds: after a leading doctype (which keeps
// the page in standards mode), otherwise at the very start, where the parser puts it into the
// head it makes.
QString InsertedFirst(const QString& html, const QString& tag) {
  static const QRegularExpression doctype(QStringLiteral("^\\s*<!doctype[^>]*>"),
                                          QRegularExpression::CaseInsensitiveOption);
  const QRegularExpressionMatch match = doctype.match(html);
  QString result = html;
  result.insert(match.hasMatch() ? match.capturedEnd() : 0, tag);
  return result;
}

}  // namespace

QString WithBaseAddress(const QString& html, const QString& baseAddress) {
  const QUrl base(baseAddress);
  if (baseAddress.isEmpty() || !base.isValid() || base.isRelative()) return html;
  // The first <base> of a document is the one that counts, so the page's own comes too late.
  return InsertedFirst(html, QStringLiteral("<base href=\"") + AttributeEscaped(baseAddress) +
                                 QStringLiteral("\">"));
}

QString WithStillStyle(const QString& html) {
  // Important declarations of a cascade layer win over every unlayered one of the page, and
  // the first layer over later ones. What the page's own style attributes insist on (they
  // rank above any style sheet) the view stops by other means.
  static const QString style = QStringLiteral(
      "<style>@layer langxing-still{*,*::before,*::after,*::marker{"
      "animation:none!important;transition:none!important;will-change:auto!important;"
      "filter:none!important;backdrop-filter:none!important;box-shadow:none!important;"
      "text-shadow:none!important;mix-blend-mode:normal!important}}</style>");
  return InsertedFirst(html, style);
}

QUrl WrittenPageHandler::Store(const QString& html) {
  // The byte order mark makes the engine read the page as UTF-8 whatever charset a <meta>
  // inside it names: the text is already decoded.
  body_ = QByteArray("\xEF\xBB\xBF") + html.toUtf8();
  address_ = QUrl(QString::fromLatin1(WrittenPageScheme) + QStringLiteral("://written/") +
                  QString::number(++serial_));
  return address_;
}

bool WrittenPageHandler::IsLatest(const QUrl& url) const {
  return !address_.isEmpty() && url.adjusted(QUrl::RemoveFragment) == address_;
}

void WrittenPageHandler::requestStarted(QWebEngineUrlRequestJob* job) {
  if (!IsLatest(job->requestUrl())) {
    job->fail(QWebEngineUrlRequestJob::UrlNotFound);
    return;
  }
  // The engine reads the buffer until the job is gone; the job owns it.
  auto* buffer = new QBuffer(job);
  buffer->setData(body_);
  buffer->open(QIODevice::ReadOnly);
  job->reply(QByteArrayLiteral("text/html;charset=utf-8"), buffer);
}
