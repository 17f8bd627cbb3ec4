// SPDX-License-Identifier: GPL-3.0-or-later
// The window as a native Wayland client: it starts, renders an article with its status texts in
// order and the busy pointer while the download runs, as it does under X11.
#include <QGuiApplication>
#include <QLabel>

#include "app/status_bar.hpp"
#include "tests/app/reader_harness.hpp"
#include "tests/support/window_controls.hpp"

namespace {

class WaylandWindowTest : public ReaderHarness {
 protected:
  void SetUp() override {
    if (qEnvironmentVariableIsSet("LANGXING_NO_WAYLAND")) GTEST_SKIP() << "weston is not installed";
  }
};

TEST_F(WaylandWindowTest, StartsAndRendersAnArticleWithItsStatusTexts) {
  ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("wayland"));
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  EXPECT_EQ(Ctl(form).StatusBar1->Panel(Form1::TitlePanel)->text().trimmed(), form.windowTitle());

  std::vector<bool> busyAtEachText;
  form.SetPanelTextWatcher([&](int panel, const std::u16string& text) {
    if (panel != Form1::StatusPanel) return;
    statusTexts.push_back(text);
    const QCursor* cursor = QGuiApplication::overrideCursor();
    busyAtEachText.push_back(cursor != nullptr && cursor->shape() == Qt::BusyCursor);
  });
  ASSERT_TRUE(ShowsWrite([&] { form.List2_Click(AddHeadline(NewsEntry)); }));
  EXPECT_EQ(statusTexts, RenderStatusTexts);
  EXPECT_EQ(busyAtEachText, std::vector<bool>(RenderStatusTexts.size(), true));
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
  EXPECT_TRUE(Script(QStringLiteral("document.body.innerText"))
                  .contains(QStringLiteral("北京地铁四号线今天上午正式开通试运营")));
  EXPECT_EQ(form.PanelText(Form1::StatusPanel), u"状态：空闲");
}

}  // namespace
