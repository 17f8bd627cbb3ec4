// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/window/bench_window.hpp"

#include <QListWidget>
#include <QNetworkProxy>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QWebEngineProfile>
#include <QWindow>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

#include "app/article_view.hpp"
#include "app/message_box.hpp"
#include "app/picture_box.hpp"
#include "app/program.hpp"
#include "app/written_page.hpp"
#include "core/text.hpp"
#include "reader/article_address.hpp"
#include "tests/support/temp_dir.hpp"
#include "tests/support/tree_path.hpp"
#include "tests/support/window_controls.hpp"

namespace windowbench {
namespace {

namespace fs = std::filesystem;

// Messages are answered at once; the benchmark reports anything unexpected itself.
struct SilentMessageBox final : langxing::MessageBoxService {
  int Show(const std::u16string& text, int) override {
    std::fprintf(stderr, "message box: %s\n", langxing::Utf16ToUtf8(text).c_str());
    return langxing::MessageBoxResultOk;
  }
};

// Links that want a new window go nowhere.
struct NoOpener final : AddressOpener {
  bool Open(const std::u16string&) override { return true; }
};

struct TempDir : langxing::testsupport::TempDir {
  TempDir() : langxing::testsupport::TempDir("langxing-bench-") {}
};

const WrittenPageHandler* WrittenPages(Form1& form) {
  return dynamic_cast<const WrittenPageHandler*>(
      Ctl(form).WebBrowser2->page()->profile()->urlSchemeHandler(WrittenPageScheme));
}

}  // namespace

void UseProxy(int port) {
  const std::string address = "http://127.0.0.1:" + std::to_string(port);
  for (const char* name : {"http_proxy", "HTTP_PROXY", "https_proxy", "HTTPS_PROXY"})
    setenv(name, address.c_str(), 1);
  unsetenv("no_proxy");
  unsetenv("NO_PROXY");
  QNetworkProxy::setApplicationProxy(QNetworkProxy(
      QNetworkProxy::HttpProxy, QStringLiteral("127.0.0.1"), static_cast<quint16>(port)));
}

int RunWindow(int argc, char** argv, const std::vector<std::string>& channelLines,
              const std::function<int(QApplication&, Form1&)>& body) {
  TempDir dir;
  {
    std::ofstream file(dir.path() / "chan.dll", std::ios::binary);
    for (const std::string& line : channelLines) file << line << "\r\n";
  }
  SilentMessageBox box;
  NoOpener opener;
  int status = 1;
  bool blankLoaded = false;
  RunProgram(argc, argv, [&](QApplication& app, Form1& form) {
    form.SetMessageBox(&box);
    form.SetAddressOpener(&opener);
    Ctl(form).WebBrowser2->SetAddressOpener(&opener);
    form.SetWorkingDirectory(dir.path());
    // Measured at the design's settings, and the user's own settings file left alone.
    form.SetSettingsStore(nullptr);
    // The update check would fetch the announcement in the middle of a measurement.
    Ctl(form).Timer1->stop();
    QObject::connect(Ctl(form).WebBrowser2, &QWebEngineView::loadFinished, &form,
                     [&blankLoaded] { blankLoaded = true; });
    QTimer::singleShot(0, &form, [&] {
      Waiter waiter;
      const bool ready = waiter.Wait(
          [&] {
            return blankLoaded && form.windowHandle() != nullptr &&
                   form.windowHandle()->isExposed();
          },
          60000);
      if (!ready) {
        std::fprintf(stderr, "the window did not come up\n");
        app.exit(1);
        return;
      }
      status = body(app, form);
      app.exit(status);
    });
  });
  return status;
}

WindowDriver::WindowDriver(Form1& f)
    : form(f), controls(f), articleWatch(*controls.WebBrowser2, waiter) {
  form.SetPanelTextWatcher([this](int panel, const std::u16string& text) {
    if (panel != Form1::StatusPanel) return;
    statusWrites.push_back({text, NowMs()});
    waiter.Poke();
  });
  QObject::connect(&form, &Form1::RenderEnded, &articleWatch, [this] {
    renderEndedMs = NowMs();
    waiter.Poke();
  });
}

WindowDriver::~WindowDriver() { form.SetPanelTextWatcher(nullptr); }

double WindowDriver::ClickChannel(const char* channel, int timeoutMs) {
  form.SelectTab(u"新闻目录");
  QTreeWidgetItem* item =
      langxing::testsupport::NodeAtPath(controls.TreeView1, {"朗星快报", "新闻中心", channel});
  if (item == nullptr) return -1;
  controls.TreeView1->scrollToItem(item);
  const QPoint centre = controls.TreeView1->visualItemRect(item).center();
  // The reader clicks a tree already on screen: the tab switch's layout and paint are over first.
  waiter.Wait([] { return false; }, 100);
  ClearWrites();
  clickedMs = NowMs();
  QTest::mouseClick(controls.TreeView1->viewport(), Qt::LeftButton, Qt::NoModifier, centre);
  const auto idle = [this] {
    return !statusWrites.empty() && statusWrites.back().text == u"状态：空闲";
  };
  return waiter.Wait(idle, timeoutMs) ? statusWrites.back().ms : -1;
}

QListWidgetItem* WindowDriver::RowFor(const std::string& address) const {
  const std::u16string wanted = langxing::Utf8ToUtf16(address);
  for (int i = 0; i < controls.List2->count(); ++i) {
    QListWidgetItem* item = controls.List2->item(i);
    const auto found = langxing::ArticleUrlOfItem(item->text().toStdU16String());
    if (found && langxing::TrimSpaces(*found) == wanted) return item;
  }
  return nullptr;
}

void WindowDriver::ClickRow(QListWidgetItem* item) {
  controls.List2->scrollToItem(item);
  // A long title runs past the list's right edge: click the part of the row that is in view.
  const auto centre = [&] {
    return controls.List2->visualItemRect(item)
        .intersected(controls.List2->viewport()->rect())
        .center();
  };
  // As a reader clicks a row once it shows: the list lays out a long listing in batches.
  waiter.Wait([&] { return controls.List2->itemAt(centre()) == item; }, 2000, 5);
  QTest::mouseClick(controls.List2->viewport(), Qt::LeftButton, Qt::NoModifier, centre());
}

void WindowDriver::PressSwatch(const char* name) {
  PictureBox* swatch = controls.Swatch(name);
  QTest::mousePress(swatch, Qt::LeftButton, Qt::NoModifier, swatch->rect().center());
}

void WindowDriver::ReleaseSwatch(const char* name) {
  PictureBox* swatch = controls.Swatch(name);
  QTest::mouseRelease(swatch, Qt::LeftButton, Qt::NoModifier, swatch->rect().center());
}

bool WindowDriver::WaitForWrittenPage(int timeoutMs) {
  const WrittenPageHandler* pages = WrittenPages(form);
  if (pages == nullptr) return false;
  // The page to wait for is the one written once the render has ended (the view is refreshed
  // first, and that reload of the page shown before must not count).
  if (!waiter.Wait([this] { return !form.RenderInFlight(); }, timeoutMs)) return false;
  articleWatch.Expect([pages](const QUrl& url) { return pages->IsLatest(url); });
  return articleWatch.WaitForPaint(timeoutMs);
}

}  // namespace windowbench
