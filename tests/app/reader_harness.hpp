// SPDX-License-Identifier: GPL-3.0-or-later
// A window wired to the local portal for the reader's widget tests: the status texts of every
// render are recorded, and a test can wait until a page written into the article view shows.
#pragma once

#include <gtest/gtest.h>

#include <QListWidget>
#include <QTimer>
#include <QUrl>
#include <functional>
#include <string>
#include <vector>

#include "app/article_view.hpp"
#include "app/form1.hpp"
#include "app/written_page.hpp"
#include "core/text.hpp"
#include "tests/portal/normal_listing.hpp"
#include "tests/portal/test_portal.hpp"
#include "tests/support/window_controls.hpp"
#include "tests/webview/view_harness.hpp"

class ReaderHarness : public testing::Test {
 protected:
  ReaderHarness() : proxy_(WithTls(portal)), caBundle_(portal) {
    // The update check is not what these tests look at; it would write its own status text.
    controls.Timer1->stop();
    form.SetPanelTextWatcher([this](int panel, const std::u16string& text) {
      if (panel == Form1::StatusPanel) statusTexts.push_back(text);
    });
    controls.WebBrowser2->SetSilent(true);
    QObject::connect(controls.WebBrowser2, &QWebEngineView::loadFinished, &form, [this](bool ok) {
      if (ok) loadedUrls_.push_back(controls.WebBrowser2->url());
    });
    form.show();
  }

  ArticleView& View() { return *controls.WebBrowser2; }

  // Runs action, which writes a page into the article view, and waits until that page (and not
  // one shown before it) has loaded. False after waitMs.
  bool ShowsWrite(const std::function<void()>& action, int waitMs = kWaitMs) {
    const QUrl before = View().url();
    const std::size_t seen = loadedUrls_.size();
    action();
    return QTest::qWaitFor(
        [&] {
          for (std::size_t i = seen; i < loadedUrls_.size(); ++i) {
            const QUrl& url = loadedUrls_[i];
            if (url != before && url.scheme() == QLatin1String(WrittenPageScheme) &&
                url == View().url())
              return true;
          }
          return false;
        },
        waitMs);
  }

  // Spins the event loop until no render is in flight any more. False after kWaitMs.
  bool RenderEnds() {
    return QTest::qWaitFor([&] { return !form.RenderInFlight(); }, kWaitMs);
  }

  QString Script(const QString& script) { return RunScript(View(), script).toString(); }
  QString BodyStyle() { return Script(QStringLiteral("document.body.getAttribute('style')")); }
  QString BodyColour() {
    return Script(QStringLiteral("getComputedStyle(document.body).backgroundColor"));
  }

  QListWidgetItem* AddHeadline(const std::u16string& entry) {
    controls.List2->addItem(QString::fromStdU16String(entry));
    return controls.List2->item(controls.List2->count() - 1);
  }

  // Keeps the event loop running for a while, so that anything still queued happens.
  static void Settle(int ms = 500) { QTest::qWait(ms); }

  int Renders() const {
    int count = 0;
    for (const std::u16string& text : statusTexts) count += text == u"状态：获取》》";
    return count;
  }

  // The portal answers https too, its test CA the bundle the user chose.
  static langxing::testportal::TestPortal& WithTls(langxing::testportal::TestPortal& portal) {
    portal.EnableTls();
    return portal;
  }

  // Declared in the order they must come up; the window goes first when the test ends.
  langxing::testportal::TestPortal portal;
  langxing::testportal::ScopedProxy proxy_;
  langxing::testportal::ScopedCaBundle caBundle_;
  std::vector<QUrl> loadedUrls_;
  std::vector<std::u16string> statusTexts;
  Form1 form;
  const WindowControls controls{form};  // looked up once, not at every poll of a wait
};

// Headline entries of the fixture listing, as the scraper puts them into List2: a news, an
// auto and a blog article.
inline const std::u16string NewsEntry =
    langxing::Utf8ToUtf16(langxing::testportal::kNormalListingEntries[0]);
inline const std::u16string AutoEntry =
    langxing::Utf8ToUtf16(langxing::testportal::kNormalListingEntries[1]);
inline const std::u16string BlogEntry =
    langxing::Utf8ToUtf16(langxing::testportal::kNormalListingEntries[2]);
inline const std::u16string NewsUrl = u"http://news.sina.com.cn/c/2010-05-01/083020191234.shtml ";

inline const std::vector<std::u16string> RenderStatusTexts = {u"状态：获取》》", u"状态：正在处理",
                                                              u"状态：处理完毕", u"状态：空闲"};
