// SPDX-License-Identifier: GPL-3.0-or-later
// Driving a real ArticleView in the tests: bounded waits, script results, clicks.
#pragma once

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonValue>
#include <QPoint>
#include <QSignalSpy>
#include <QTest>
#include <QVariant>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <memory>

#include "app/article_view.hpp"

// Every wait of these tests ends after at most this long.
inline constexpr int kWaitMs = 15000;

// The result of a script run on the page, or an invalid QVariant after kWaitMs. It runs in the
// program's own script world, which sees the page's document although the page's own scripts
// are off.
inline QVariant RunScript(QWebEngineView& view, const QString& script) {
  auto result = std::make_shared<std::pair<bool, QVariant>>(false, QVariant());
  view.page()->runJavaScript(script, QWebEngineScript::ApplicationWorld,
                             [result](const QVariant& value) {
                               result->first = true;
                               result->second = value;
                             });
  if (!QTest::qWaitFor([&] { return result->first; }, kWaitMs)) return {};
  return result->second;
}

// A JavaScript string literal holding text.
inline QString ScriptString(const QString& text) {
  QString json = QString::fromUtf8(QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact));
  return json.mid(1, json.size() - 2);
}

// Waits for a load to finish successfully; true when one did within kWaitMs.
inline bool WaitForLoad(QSignalSpy& loadFinished) {
  return QTest::qWaitFor(
      [&] {
        for (const auto& arguments : loadFinished)
          if (arguments.value(0).toBool()) return true;
        return false;
      },
      kWaitMs);
}

inline bool WriteAndWait(ArticleView& view, const QString& html, const QString& base) {
  QSignalSpy loadFinished(&view, &QWebEngineView::loadFinished);
  view.WriteDocument(html.toStdU16String(), base.toStdU16String());
  return WaitForLoad(loadFinished);
}

inline bool NavigateAndWait(ArticleView& view, const QString& url) {
  QSignalSpy loadFinished(&view, &QWebEngineView::loadFinished);
  view.Navigate(url.toStdU16String());
  return WaitForLoad(loadFinished);
}

inline QString BodyText(ArticleView& view) {
  return RunScript(view, QStringLiteral("document.body ? document.body.innerText : ''")).toString();
}

// Clicks with the mouse, as a user would, on the middle of the element with the given id.
inline bool ClickElement(ArticleView& view, const QString& id) {
  const QVariant box = RunScript(
      view, QStringLiteral("(function(){var r=document.getElementById(%1).getBoundingClientRect();"
                           "return [r.left + r.width / 2, r.top + r.height / 2];})()")
                .arg(ScriptString(id)));
  const QVariantList xy = box.toList();
  if (xy.size() != 2) return false;
  const QPoint point(qRound(xy[0].toDouble()), qRound(xy[1].toDouble()));
  QWidget* target = view.focusProxy() ? view.focusProxy() : &view;
  QTest::mouseMove(target, point);
  QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, point);
  return true;
}
