// SPDX-License-Identifier: GPL-3.0-or-later
// The settings the window keeps between runs: what one window sets, the next one starts with
// before its first render; a file that is nonsense gives the design's defaults and a window on
// screen.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QScrollBar>
#include <QtTest/QTest>
#include <memory>

#include "app/form1.hpp"
#include "app/picture_box.hpp"
#include "app/reader_settings_store.hpp"
#include "app/swatch_widgets.hpp"
#include "tests/portal/test_portal.hpp"
#include "tests/support/news_window_harness.hpp"
#include "tests/support/window_controls.hpp"

namespace newswindow {
namespace {

class KeptSettingsTest : public testing::Test {
 protected:
  KeptSettingsTest() {
    std::ofstream file(dir.path() / "chan.dll", std::ios::binary);
    for (const std::string& line : DefaultChannelLines) file << line << "\r\n";
  }

  std::unique_ptr<Form1> OpenWindow() {
    auto form = std::make_unique<Form1>();
    form->SetMessageBox(&box);
    form->SetAddressOpener(&opener);
    form->SetWorkingDirectory(dir.path());
    form->SetSettingsStore(&store);
    WindowControls(*form).Timer1->stop();
    form->Form_Load();
    return form;
  }

  void WriteFile(const QByteArray& bytes) {
    fs::create_directories(fs::path(path.toStdString()).parent_path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }

  static QRect ScreenArea() { return QGuiApplication::primaryScreen()->availableGeometry(); }

  TempDir dir;
  langxing::testportal::TestPortal portal;
  langxing::testportal::ScopedProxy proxy{portal};
  ScriptedMessageBox box;
  RecordingOpener opener;
  const QString path =
      QString::fromStdString((dir.path() / "config" / "langxing" / "langxing.conf").string());
  ReaderSettingsStore store{path};
};

TEST_F(KeptSettingsTest, TheNextWindowStartsAsTheLastOneWasLeft) {
  const SwatchWidget& grey = SwatchWidgets[3];
  double splitter = 0;
  QRect place;
  {
    std::unique_ptr<Form1> form = OpenWindow();
    const WindowControls c(*form);
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    EXPECT_FALSE(QFile::exists(path)) << "written before anything changed";

    // A change is written a moment later, without waiting for the window to close.
    c.Check1->setChecked(false);
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(path); }, 3000));
    EXPECT_FALSE(store.Load().showImages);

    c.Check2->setChecked(true);
    c.HScroll1->setValue(20);
    c.HScroll2->setValue(16);
    form->Swatch_MouseDown(form->findChild<PictureBox*>(QString::fromLatin1(grey.name)));
    form->Swatch_MouseUp(form->findChild<PictureBox*>(QString::fromLatin1(grey.name)));
    form->CancelRender();
    form->Picture2_MouseDown(1, 0, 0, 0);
    form->Picture2_MouseMove(1, 0, -600, 0);
    form->Picture2_MouseUp(1, 0, 0, 0);
    splitter = form->Panes().Picture2.left;
    c.TreeView1->setCurrentItem(
        langxing::testsupport::NodeAtPath(c.TreeView1, {"朗星快报", "新闻中心", "社会"}));
    form->TreeView1_NodeClick();
    const QSize size = form->minimumSize() + QSize(12, 8);
    ASSERT_LE(size.width(), ScreenArea().width());
    place = QRect(ScreenArea().topLeft() + QPoint(20, 30), size);
    form->setGeometry(place);
    QTest::qWait(100);
    form->close();
  }

  std::unique_ptr<Form1> form = OpenWindow();
  const WindowControls c(*form);
  // Before the window shows and before any render: the settings the first render uses.
  const langxing::ReaderSettings reader = form->CurrentReaderSettings();
  EXPECT_EQ(reader.showImages, 0);
  EXPECT_EQ(reader.showVideo, 1);
  EXPECT_EQ(reader.fontSize, 20);
  const std::string decimal = std::to_string(grey.swatch->colour);
  EXPECT_EQ(
      reader.backgroundColour,
      langxing::SwatchColourText(*grey.swatch, std::u16string(decimal.begin(), decimal.end())));
  EXPECT_EQ(c.HScroll2->value(), 16);
  EXPECT_EQ(c.List2->font().pointSize(), 16);
  // The channel is selected, not loaded: nothing was asked of the network.
  ASSERT_NE(c.TreeView1->currentItem(), nullptr);
  EXPECT_EQ(c.TreeView1->currentItem()->text(0), QStringLiteral("社会"));
  EXPECT_EQ(c.List2->count(), 0);

  form->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
  EXPECT_EQ(form->geometry(), place);
  EXPECT_EQ(form->Panes().Picture2.left, splitter);
  EXPECT_EQ(c.TabStrip1->width(), langxing::TwipsToPixels(form->Panes().TabStrip1.width));

  // F5 loads the channel kept.
  const std::size_t before = portal.Requests().size();
  QTest::keyClick(form.get(), Qt::Key_F5);
  ASSERT_TRUE(QTest::qWaitFor([&] { return portal.Requests().size() > before; }, 5000));
  EXPECT_EQ(portal.Requests().back(), "http://news.sina.com.cn/society/index_list.shtml");

  form->showMaximized();
  QTest::qWait(100);
  form->close();
  form = OpenWindow();
  form->show();
  EXPECT_TRUE(form->isMaximized());
}

TEST_F(KeptSettingsTest, NonsenseReadsAsTheDefaults) {
  const KeptSettings defaults;
  const struct Case {
    const char* name;
    QByteArray file;
  } cases[] = {
      {"wrong types",
       "[reader]\ncolour=red\nfontSize=large\nshowImages=maybe\nshowVideo=2\n"
       "[lists]\nfontSize=@Variant(\\0\\0\\0\\x7f)\n[window]\nx=a\ny=b\nwidth=c\nheight=d\n"
       "maximised=1\nsplitter=-\n"},
      {"out of range",
       "[reader]\nfontSize=9\n[lists]\nfontSize=37\n[window]\nx=0\ny=0\nwidth=0\n"
       "height=100000\nsplitter=-400\n"},
      {"a style break-out as the colour", "[reader]\ncolour=\"red;'><script>\"\n"},
      {"not an INI file at all", QByteArray("\x00\xff\xfe[[[=\n\x01", 9)},
      {"empty", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WriteFile(c.file);
    const KeptSettings kept = store.Load();
    EXPECT_EQ(kept.colour, defaults.colour);
    EXPECT_EQ(kept.articleFontSize, defaults.articleFontSize);
    EXPECT_EQ(kept.listFontSize, defaults.listFontSize);
    EXPECT_EQ(kept.showImages, defaults.showImages);
    EXPECT_EQ(kept.showVideo, defaults.showVideo);
    EXPECT_FALSE(kept.windowPlace.has_value());
    EXPECT_FALSE(kept.maximised);
    EXPECT_FALSE(kept.splitterLeft.has_value());
  }
}

TEST_F(KeptSettingsTest, APlaceOffEveryScreenOrTooLargeStillShowsTheWindowOnScreen) {
  const QList<QRect> screens{QRect(0, 0, 1280, 1024), QRect(1280, 0, 800, 600)};
  const QSize least(600, 400);
  struct Case {
    const char* name;
    QRect saved;
    std::optional<QSize> size;
    std::optional<QPoint> topLeft;
  };
  const Case cases[] = {
      {"on the first screen", {100, 80, 700, 500}, QSize(700, 500), QPoint(100, 80)},
      {"on the second screen", {1400, 50, 700, 500}, QSize(700, 500), QPoint(1400, 50)},
      {"left of every screen", {-5000, 80, 700, 500}, QSize(700, 500), std::nullopt},
      {"above every screen", {100, -600, 700, 500}, QSize(700, 500), std::nullopt},
      {"below every screen", {100, 1020, 700, 500}, QSize(700, 500), std::nullopt},
      {"larger than its screen", {1300, 0, 2000, 1500}, QSize(800, 600), QPoint(1300, 0)},
      {"smaller than the least", {100, 80, 20, 20}, std::nullopt, std::nullopt},
      {"absurdly large", {0, 0, 100000, 100000}, std::nullopt, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::optional<UsablePlace> usable = UsableWindowPlace(c.saved, screens, least);
    ASSERT_EQ(usable.has_value(), c.size.has_value());
    if (!usable) continue;
    EXPECT_EQ(usable->size, *c.size);
    EXPECT_EQ(usable->topLeft, c.topLeft);
  }

  // The window itself, with a place far off screen.
  WriteFile("[window]\nx=-30000\ny=9000\nwidth=700\nheight=500\n");
  std::unique_ptr<Form1> form = OpenWindow();
  form->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
  EXPECT_TRUE(ScreenArea().intersects(form->geometry())) << form->geometry().x();
}

}  // namespace
}  // namespace newswindow
