// SPDX-License-Identifier: GPL-3.0-or-later
// The window on a real X display while an article downloads: what the screen shows in the
// status panel, read back from the X server by a second connection while the transfer is
// under way, and the pointer the window shows meanwhile.
#include <xcb/xcb.h>

#include <QCursor>
#include <QGuiApplication>
#include <QLabel>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include "app/status_bar.hpp"
#include "tests/app/reader_harness.hpp"
#include "tests/support/window_controls.hpp"

namespace {

using langxing::testportal::Page;

// The pixels of one area of the screen, as the X server holds them.
using Pixels = std::vector<std::uint8_t>;

class Screen {
 public:
  Screen() : connection_(xcb_connect(nullptr, nullptr)) {}
  ~Screen() { xcb_disconnect(connection_); }
  Screen(const Screen&) = delete;
  Screen& operator=(const Screen&) = delete;

  bool Usable() const { return xcb_connection_has_error(connection_) == 0; }

  std::optional<Pixels> Read(const QRect& area) const {
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
    const xcb_get_image_cookie_t cookie = xcb_get_image(
        connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, root, static_cast<std::int16_t>(area.x()),
        static_cast<std::int16_t>(area.y()), static_cast<std::uint16_t>(area.width()),
        static_cast<std::uint16_t>(area.height()), ~0u);
    std::unique_ptr<xcb_get_image_reply_t, decltype(&std::free)> reply(
        xcb_get_image_reply(connection_, cookie, nullptr), &std::free);
    if (!reply) return std::nullopt;
    const std::uint8_t* data = xcb_get_image_data(reply.get());
    return Pixels(data, data + xcb_get_image_data_length(reply.get()));
  }

 private:
  xcb_connection_t* connection_;
};

// How many pixels of two pictures of the same area differ.
std::size_t Differing(const Pixels& a, const Pixels& b) {
  std::size_t count = 0;
  for (std::size_t i = 0; i + 3 < std::min(a.size(), b.size()); i += 4)
    count += a[i] != b[i] || a[i + 1] != b[i + 1] || a[i + 2] != b[i + 2];
  return count;
}

// The screen shows `text`'s picture rather than the idle one. At whole scale factors the
// pictures are the same to the pixel; at fractional ones the text may be laid down a fraction
// of a pixel apart, so the picture counts as shown when it is far nearer to it than to the
// idle one.
bool Shows(const Pixels& screen, const Pixels& text, const Pixels& idle) {
  return screen == text || Differing(screen, text) * 10 < Differing(screen, idle);
}

constexpr char DelayedArticle[] = "http://news.sina.com.cn/c/2010-05-01/delayed.shtml";
const std::u16string DelayedEntry =
    u"地铁试运营;\"http://go.sina.com.cn/?url=http://news.sina.com.cn/c/2010-05-01/"
    u"delayed.shtml\"";

class StatusOnScreenTest : public ReaderHarness {
 protected:
  StatusOnScreenTest() {
    std::optional<Page> article =
        portal.PageFor("http://news.sina.com.cn/c/2010-05-01/083020191234.shtml");
    if (article) {
      article->delay = std::chrono::milliseconds(800);
      portal.SetPage(DelayedArticle, *article);
    }
  }

  // Panel 4 on the screen, in the screen's pixels.
  QRect StatusPanelOnScreen() const {
    QLabel* panel = Ctl(form).StatusBar1->Panel(Form1::StatusPanel);
    const qreal scale = panel->devicePixelRatioF();
    const QPoint topLeft = panel->mapToGlobal(QPoint(0, 0)) * scale;
    return {topLeft, panel->size() * scale};
  }

  // What the screen shows in the panel once the window has painted `text` at leisure.
  std::optional<Pixels> SettledImageOf(const Screen& screen, std::u16string_view text) {
    form.SetPanelText(Form1::StatusPanel, text);
    Settle(300);
    return screen.Read(StatusPanelOnScreen());
  }
};

TEST_F(StatusOnScreenTest, TheFetchTextIsOnScreenAndThePointerBusyWhileAnArticleDownloads) {
  ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb"));
  ASSERT_TRUE(portal.PageFor(DelayedArticle).has_value());
  ASSERT_TRUE(form.SelectTab(u"新闻标题"));
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  form.raise();
  form.activateWindow();
  Settle();
  Screen screen;
  ASSERT_TRUE(screen.Usable());

  const std::optional<Pixels> fetching = SettledImageOf(screen, u"状态：获取》》");
  const std::optional<Pixels> idle = SettledImageOf(screen, u"状态：空闲");
  ASSERT_TRUE(fetching && idle);
  ASSERT_NE(*fetching, *idle) << "the two texts must look different on the screen";

  // The pointer is busy from the first status text of the render to its last.
  std::vector<bool> busyAtEachText;
  form.SetPanelTextWatcher([&](int panel, const std::u16string&) {
    const QCursor* cursor = QGuiApplication::overrideCursor();
    if (panel == Form1::StatusPanel)
      busyAtEachText.push_back(cursor != nullptr && cursor->shape() == Qt::BusyCursor);
  });

  const QRect area = StatusPanelOnScreen();
  constexpr int Tries = 10;
  int shownInTime = 0;
  for (int attempt = 0; attempt < Tries; ++attempt) {
    SCOPED_TRACE(attempt);
    portal.ClearRequests();
    std::optional<Pixels> duringTransfer;
    std::atomic<bool> watched{false};
    // Reads the screen once the request has reached the portal, which answers only after its
    // delay, and the window has had a moment to paint: the transfer is under way then.
    std::thread watcher([&] {
      const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
      while (std::chrono::steady_clock::now() < giveUp) {
        for (const std::string& request : portal.Requests())
          if (request == DelayedArticle) {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            Screen own;
            duringTransfer = own.Read(area);
            watched = true;
            return;
          }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
      }
      watched = true;
    });
    busyAtEachText.clear();
    // Clicked as the user clicks it.
    QListWidgetItem* item = AddHeadline(DelayedEntry);
    Ctl(form).List2->scrollToItem(item);
    QTest::mouseClick(Ctl(form).List2->viewport(), Qt::LeftButton, {},
                      Ctl(form).List2->visualItemRect(item).center());
    // The window's own thread goes on turning its event loop meanwhile.
    const bool watchEnded = QTest::qWaitFor([&] { return watched.load(); }, 12000);
    watcher.join();
    EXPECT_TRUE(watchEnded) << "the screen watch did not end";
    ASSERT_TRUE(QTest::qWaitFor([&] { return !form.RenderInFlight(); }, kWaitMs));

    ASSERT_TRUE(duringTransfer.has_value()) << "the article was never requested";
    const bool shown = Shows(*duringTransfer, *fetching, *idle);
    shownInTime += shown;
    EXPECT_TRUE(shown) << "the panel did not show the fetch text during the transfer";
    EXPECT_EQ(busyAtEachText, std::vector<bool>(RenderStatusTexts.size(), true));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    Settle(200);
  }
  EXPECT_EQ(shownInTime, Tries);
}

}  // namespace
