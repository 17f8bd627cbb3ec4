// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/form1.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QWheelEvent>
#include <QtTest/QTest>
#include <ctime>
#include <fstream>
#include <functional>
#include <optional>
#include <random>

#include "app/article_view.hpp"
#include "app/headline_titles.hpp"
#include "app/missing_channel_file.hpp"
#include "app/picture_box.hpp"
#include "app/status_bar.hpp"
#include "app/swatch_widgets.hpp"
#include "app/tab_strip.hpp"
#include "app/written_page.hpp"
#include "catalog/catalog.hpp"
#include "core/portal.hpp"
#include "core/text.hpp"
#include "headlines/publish_time.hpp"
#include "tests/support/form1_access.hpp"
#include "tests/support/temp_dir.hpp"
#include "tests/support/window_controls.hpp"

namespace {

namespace fs = std::filesystem;
using langxing::TwipsBox;
using langxing::TwipsToPixels;

struct FakeMessageBox final : langxing::MessageBoxService {
  struct Shown {
    std::u16string text;
    int style;
  };
  std::vector<Shown> shown;
  int Show(const std::u16string& text, int style) override {
    shown.push_back({text, style});
    return langxing::MessageBoxResultOk;
  }
};

// A fresh folder under the temporary directory, removed at the end of the test.
struct TempDir : langxing::testsupport::TempDir {
  TempDir() : langxing::testsupport::TempDir("langxing-app-test-") {}
};

class Form1Test : public testing::Test {
 protected:
  Form1Test() {
    form.SetMessageBox(&box);
    form.SetPanelTextWatcher(
        [this](int panel, const std::u16string& text) { writes.emplace_back(panel, text); });
  }

  void LoadFrom(const fs::path& dir) {
    form.SetWorkingDirectory(dir);
    form.Form_Load();
  }

  std::vector<std::u16string> TreeTexts(QTreeWidgetItem* item) const {
    std::vector<std::u16string> texts;
    for (int i = 0; i < item->childCount(); ++i)
      texts.push_back(item->child(i)->text(0).toStdU16String());
    return texts;
  }

  FakeMessageBox box;
  Form1 form;
  const WindowControls controls{form};  // looked up once
  std::vector<std::pair<int, std::u16string>> writes;
};

// The catalog's categories, in the order the tree shows them.
std::vector<std::u16string> Categories() {
  return {langxing::CatalogCategories.begin(), langxing::CatalogCategories.end()};
}

TEST_F(Form1Test, OpensOnTheCatalogWithTheTitleShownAndTheFirstRendersSettings) {
  EXPECT_EQ(form.PanelText(Form1::TitlePanel), u"朗星快报 1.2 ");

  // The catalog is the view shown; the other views and the timers' design-time frame are not.
  EXPECT_EQ(form.SelectedTabCaption(), u"新闻目录");
  EXPECT_FALSE(controls.TreeView1->isHidden());
  EXPECT_TRUE(controls.List2->isHidden());
  EXPECT_TRUE(controls.Frame3->isHidden());
  EXPECT_TRUE(controls.Frame1->isHidden());

  // Each swatch lies inside its frame's contents, clear of the frame's caption and its lines.
  for (const SwatchWidget& row : SwatchWidgets) {
    const PictureBox* swatch = controls.Swatch(row.name);
    ASSERT_NE(swatch, nullptr) << row.name;
    EXPECT_EQ(swatch->parentWidget(), controls.Frame4) << row.name;
    EXPECT_TRUE(controls.Frame4->contentsRect().contains(swatch->geometry())) << row.name;
  }

  // An article is first rendered with images, without video, at 14 points on no set colour.
  const langxing::ReaderSettings settings = form.CurrentReaderSettings();
  EXPECT_EQ(settings.showImages, 1);
  EXPECT_EQ(settings.showVideo, 0);
  EXPECT_EQ(settings.fontSize, 14);
  EXPECT_EQ(settings.backgroundColour, u"0");
}

TEST_F(Form1Test, KeepsTheDesignedFocusOrder) {
  const std::vector<QWidget*> want = {
      controls.List2,    controls.WebBrowser2, controls.TabStrip1, controls.TreeView1,
      controls.Check1,   controls.HScroll1,    controls.HScroll2,  controls.Check2,
      controls.Picture9, controls.Picture10,   controls.Picture3,  controls.Picture4,
      controls.Picture5, controls.Picture6,    controls.Picture7,  controls.Picture8};
  std::vector<QWidget*> seen;
  QWidget* w = controls.List2;
  for (int guard = 0; guard < 500 && seen.size() < want.size(); ++guard) {
    if (std::find(want.begin(), want.end(), w) != want.end() &&
        std::find(seen.begin(), seen.end(), w) == seen.end())
      seen.push_back(w);
    w = w->nextInFocusChain();
  }
  EXPECT_EQ(seen, want);
}

TEST_F(Form1Test, StartsUpWithAChannelFile) {
  TempDir dir;
  dir.Write("chan.dll",
            "新闻中心_国内新闻--http://a/1\r\n体育新闻_NBA--http://b/2\r\n"
            "\r\n新闻中心_国际新闻--http://c/3\r\n体育新闻_NBA--http://d/4");
  const langxing::ClockTime before = langxing::ClockTimeNow();
  LoadFrom(dir.path());
  const langxing::ClockTime after = langxing::ClockTimeNow();

  EXPECT_TRUE(box.shown.empty());
  EXPECT_TRUE(Form1Access::UpdateCheckPending(form));
  EXPECT_FALSE(Form1Access::HeadlinesRequested(form));
  EXPECT_EQ(controls.Picture2->BorderStyle(), 0);
  EXPECT_THAT(
      form.ChannelLines(),
      testing::ElementsAre(u"新闻中心_国内新闻--http://a/1", u"体育新闻_NBA--http://b/2", u"",
                           u"新闻中心_国际新闻--http://c/3", u"体育新闻_NBA--http://d/4"));

  // The clock is read and shown in panel 3 before anything else is written.
  EXPECT_TRUE(form.Clock() == before || form.Clock() == after);
  ASSERT_FALSE(writes.empty());
  EXPECT_EQ(writes.front(), std::make_pair(Form1::ClockPanel, langxing::ClockText(form.Clock())));

  ASSERT_EQ(controls.TreeView1->topLevelItemCount(), 1);
  QTreeWidgetItem* root = controls.TreeView1->topLevelItem(0);
  EXPECT_EQ(root->text(0), QStringLiteral("朗星快报"));
  EXPECT_FALSE(root->isExpanded());
  EXPECT_EQ(TreeTexts(root), Categories());
  EXPECT_THAT(TreeTexts(root->child(0)), testing::ElementsAre(u"国内新闻", u"国际新闻"));
  EXPECT_THAT(TreeTexts(root->child(1)), testing::ElementsAre(u"NBA", u"NBA"));
  for (int i = 2; i < 14; ++i) EXPECT_EQ(root->child(i)->childCount(), 0) << i;

  // Start-up runs once.
  form.Form_Load();
  EXPECT_EQ(form.ChannelLines().size(), 5u);
  EXPECT_EQ(controls.TreeView1->topLevelItemCount(), 1);
}

TEST_F(Form1Test, AnEmptyChannelFileGivesTheBareCatalogWithoutAMessage) {
  TempDir dir;
  dir.Write("chan.dll", "");
  LoadFrom(dir.path());
  EXPECT_TRUE(box.shown.empty());
  EXPECT_TRUE(form.ChannelLines().empty());
  ASSERT_EQ(controls.TreeView1->topLevelItemCount(), 1);
  QTreeWidgetItem* root = controls.TreeView1->topLevelItem(0);
  EXPECT_EQ(TreeTexts(root), Categories());
  for (int i = 0; i < root->childCount(); ++i) EXPECT_EQ(root->child(i)->childCount(), 0);
}

TEST_F(Form1Test, AMissingChannelFileIsReportedOnceAndLeavesTheCatalogEmpty) {
  struct Case {
    const char* name;
    bool makeDirectory;
  };
  for (const Case& c : {Case{"missing", false}, Case{"directory", true}}) {
    SCOPED_TRACE(c.name);
    FakeMessageBox localBox;
    Form1 local;
    local.SetMessageBox(&localBox);
    std::vector<int> panelsBeforeBox;
    local.SetPanelTextWatcher([&](int panel, const std::u16string&) {
      if (localBox.shown.empty()) panelsBeforeBox.push_back(panel);
    });
    TempDir dir;
    if (c.makeDirectory) fs::create_directory(dir.path() / "chan.dll");
    local.SetWorkingDirectory(dir.path());
    testing::internal::CaptureStderr();
    local.Form_Load();
    // stderr names the file and the folder searched; the article view says where it goes.
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(said,
              "langxing: 错误！软件缺少必要文件 (no chan.dll in " + dir.path().string() + ")\n");
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return Ctl(local).WebBrowser2->url().scheme() == QLatin1String(WrittenPageScheme); },
        10000));

    ASSERT_EQ(localBox.shown.size(), 1u);
    EXPECT_EQ(localBox.shown[0].text, u"错误！软件缺少必要文件");
    EXPECT_EQ(localBox.shown[0].style, 32);
    EXPECT_THAT(panelsBeforeBox, testing::Contains(Form1::ClockPanel));
    EXPECT_EQ(local.PanelText(Form1::ClockPanel), langxing::ClockText(local.Clock()));
    EXPECT_TRUE(local.ChannelLines().empty());
    EXPECT_EQ(Ctl(local).TreeView1->topLevelItemCount(), 0);
    EXPECT_TRUE(Form1Access::UpdateCheckPending(local));
    EXPECT_TRUE(Ctl(local).Timer2->isActive());
  }
}

TEST_F(Form1Test, TheShippedChannelFileBuildsAFullCatalog) {
  LoadFrom(fs::path(LANGXING_SOURCE_DIR) / "data");
  EXPECT_TRUE(box.shown.empty());
  EXPECT_GT(form.ChannelLines().size(), 14u);
  ASSERT_EQ(controls.TreeView1->topLevelItemCount(), 1);
  int channels = 0;
  QTreeWidgetItem* root = controls.TreeView1->topLevelItem(0);
  for (int i = 0; i < root->childCount(); ++i) channels += root->child(i)->childCount();
  EXPECT_GT(channels, 14);
}

TEST_F(Form1Test, TabsShowTheViewOfTheSelectedCaption) {
  struct Step {
    int tab;
    bool tree, list, settings;
  };
  for (const Step& s :
       {Step{2, false, false, true}, Step{0, true, false, false}, Step{1, false, true, false},
        Step{2, false, false, true}, Step{1, false, true, false}}) {
    controls.TabStrip1->setCurrentIndex(s.tab);
    EXPECT_EQ(!controls.TreeView1->isHidden(), s.tree) << s.tab;
    EXPECT_EQ(!controls.List2->isHidden(), s.list) << s.tab;
    EXPECT_EQ(!controls.Frame3->isHidden(), s.settings) << s.tab;
  }

  controls.TabStrip1->setCurrentIndex(2);
  EXPECT_TRUE(form.SelectTab(u"新闻标题"));
  EXPECT_EQ(controls.TabStrip1->currentIndex(), 1);
  EXPECT_FALSE(controls.List2->isHidden());
  EXPECT_TRUE(controls.Frame3->isHidden());
  EXPECT_FALSE(form.SelectTab(u"新闻"));
  EXPECT_EQ(controls.TabStrip1->currentIndex(), 1);

  // The view follows the caption, not the tab's number: an unknown caption changes nothing.
  controls.TabStrip1->setTabText(0, QStringLiteral("目录"));
  controls.TabStrip1->setCurrentIndex(0);
  EXPECT_TRUE(controls.TreeView1->isHidden());
  EXPECT_FALSE(controls.List2->isHidden());
}

TEST_F(Form1Test, TheListFontSizeBarSetsTheTreeAndListSizeOnly) {
  const QString listFamily = controls.List2->font().family();
  const QString treeFamily = controls.TreeView1->font().family();
  controls.HScroll2->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_EQ(controls.TreeView1->font().pointSize(), 13);
  EXPECT_EQ(controls.List2->font().pointSize(), 13);
  controls.HScroll2->setValue(36);
  EXPECT_EQ(controls.TreeView1->font().pointSize(), 36);
  EXPECT_EQ(controls.List2->font().pointSize(), 36);
  controls.HScroll2->setValue(0);  // clamped to the minimum
  EXPECT_EQ(controls.TreeView1->font().pointSize(), 10);
  EXPECT_EQ(controls.List2->font().pointSize(), 10);
  EXPECT_EQ(controls.List2->font().family(), listFamily);
  EXPECT_EQ(controls.TreeView1->font().family(), treeFamily);
  EXPECT_EQ(controls.List2->font().weight(), QFont::Normal);
}

TEST_F(Form1Test, TabCaptionsAreWholeWithinThePanesDesignWidth) {
  // Also run at QT_SCALE_FACTOR=2 (a CTest of its own); make sure the factor took hold.
  if (const QByteArray factor = qgetenv("QT_SCALE_FACTOR"); !factor.isEmpty()) {
    ASSERT_EQ(form.devicePixelRatioF(), factor.toDouble());
  }
  form.show();
  QApplication::processEvents();
  const QFontMetrics metrics = controls.TabStrip1->Bar()->fontMetrics();
  for (int i = 0; i < controls.TabStrip1->count(); ++i) {
    const QString caption = controls.TabStrip1->tabText(i);
    SCOPED_TRACE(caption.toStdString());
    EXPECT_GE(controls.TabStrip1->TabTextRect(i).width(), metrics.horizontalAdvance(caption));
    EXPECT_LE(controls.TabStrip1->Bar()->tabRect(i).right() + 1, TwipsToPixels(2775));
  }
}

TEST_F(Form1Test, EveryStatusTextFitsItsPanelAtTheDesignWidth) {
  form.show();
  // The narrowest the window's outer width can be: its client width alone.
  const double W = langxing::DesignClientWidth;
  controls.StatusBar1->SetPanelWidths({TwipsToPixels(W * 0.1), TwipsToPixels(W * 0.5),
                                       TwipsToPixels(W * 0.2), TwipsToPixels(W * 0.2)});
  const std::pair<int, const char16_t*> texts[] = {
      {1, u"朗星快报 1.2 "},        {1, u"目前是最新版"},   {3, u"2026-12-31 23:59:59"},
      {4, u"状态：检查版本。。。"}, {4, u"状态：空闲"},     {4, u"状态：获取"},
      {4, u"状态：获取》"},         {4, u"状态：获取》》"}, {4, u"状态：获取完成"},
      {4, u"状态：正在处理"},       {4, u"状态：处理完毕"}};
  for (const auto& [panel, text] : texts) {
    const QString shown = QString::fromStdU16String(text);
    SCOPED_TRACE(shown.toStdString());
    form.SetPanelText(panel, text);
    QLabel* label = controls.StatusBar1->Panel(panel);
    ASSERT_EQ(label->indent(), 0);
    // A trailing blank shows nothing, so it may fall outside.
    EXPECT_LE(label->fontMetrics().horizontalAdvance(shown.trimmed()),
              label->contentsRect().width());
  }
}

TEST_F(Form1Test, FontSizeBarsGrowToTheRightAndUpAndWithTheWheelTurnedAway) {
  struct Input {
    const char* name;
    std::function<void(QScrollBar*)> send;
    int change;
  };
  const auto key = [](Qt::Key k) { return [k](QScrollBar* bar) { QTest::keyClick(bar, k); }; };
  const auto wheel = [](int delta) {
    return [delta](QScrollBar* bar) {
      QWheelEvent event(QPointF(5, 5), bar->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, delta),
                        Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
      QApplication::sendEvent(bar, &event);
    };
  };
  const std::vector<Input> inputs = {{"Right", key(Qt::Key_Right), +1},
                                     {"Left", key(Qt::Key_Left), -1},
                                     {"Up", key(Qt::Key_Up), +1},
                                     {"Down", key(Qt::Key_Down), -1},
                                     {"wheel away", wheel(120), +1},
                                     {"wheel back", wheel(-120), -1},
                                     {"half a notch twice",
                                      [&](QScrollBar* bar) {
                                        wheel(60)(bar);
                                        wheel(60)(bar);
                                      },
                                      +1}};
  for (QScrollBar* bar : {controls.HScroll1, controls.HScroll2}) {
    for (const Input& input : inputs) {
      SCOPED_TRACE(bar->objectName().toStdString() + " " + input.name);
      const int before = bar->value();
      input.send(bar);
      EXPECT_EQ(bar->value(), before + input.change);
    }
  }
  EXPECT_EQ(controls.TreeView1->font().pointSize(), controls.HScroll2->value());
}

TEST_F(Form1Test, AtLargeFontSizesTheTreeScrollsSidewaysInsteadOfCuttingNames) {
  LoadFrom(fs::path(LANGXING_SOURCE_DIR) / "data");
  form.show();
  controls.TreeView1->expandAll();
  controls.HScroll2->setValue(36);
  QApplication::processEvents();
  const QFontMetrics metrics(controls.TreeView1->font());
  int widest = 0;
  for (QTreeWidgetItemIterator it(controls.TreeView1); *it; ++it)
    widest = std::max(widest, metrics.horizontalAdvance((*it)->text(0)));
  ASSERT_GT(widest, controls.TreeView1->viewport()->width());
  EXPECT_GE(controls.TreeView1->columnWidth(0), widest);
  EXPECT_GT(controls.TreeView1->horizontalScrollBar()->maximum(), 0);
}

TEST_F(Form1Test, AMessageBeforeTheWindowIsCentredOnTheScreen) {
  langxing::QtMessageBoxService service(&form);
  QRect shownAt;
  QTimer::singleShot(0, [&] {
    if (QWidget* box = QApplication::activeModalWidget()) {
      shownAt = box->frameGeometry();
      box->close();
    }
  });
  service.Show(u"错误！软件缺少必要文件", langxing::MessageBoxQuestion);
  ASSERT_TRUE(shownAt.isValid());
  const QPoint off = shownAt.center() - form.screen()->availableGeometry().center();
  EXPECT_LE(off.manhattanLength(), 4) << off.x() << "," << off.y();
}

struct AccessibleControl {
  QWidget* widget;  // nullptr for a tab
  QAccessible::Role role;
  QString name;
};

// The controls of the window's accessible tree: what takes the focus or a click, and the tabs
// (the web page's own tree is the page's). Qt keeps its own interfaces' type information inside
// its libraries, where UBSan's check of a virtual call cannot find it, so the walk is unchecked.
__attribute__((no_sanitize("vptr"))) std::vector<AccessibleControl> AccessibleControls(
    QWidget* window) {
  std::vector<AccessibleControl> controls;
  std::vector<QAccessibleInterface*> pending = {QAccessible::queryAccessibleInterface(window)};
  while (!pending.empty()) {
    QAccessibleInterface* node = pending.back();
    pending.pop_back();
    if (node == nullptr || node->state().invisible) continue;
    for (int i = 0; i < node->childCount(); ++i) pending.push_back(node->child(i));
    auto* widget = qobject_cast<QWidget*>(node->object());
    const bool control = widget != nullptr && widget->focusPolicy() != Qt::NoFocus;
    if (control || node->role() == QAccessible::PageTab)
      controls.push_back({widget, node->role(), node->text(QAccessible::Name)});
  }
  return controls;
}

TEST_F(Form1Test, EveryVisibleControlHasAnAccessibleName) {
  form.show();
  for (const char* tab : {"新闻目录", "新闻标题", "设置"}) {
    SCOPED_TRACE(tab);
    ASSERT_TRUE(form.SelectTab(QString::fromUtf8(tab).toStdU16String()));
    QApplication::processEvents();
    const std::vector<AccessibleControl> controls = AccessibleControls(&form);
    std::vector<std::string> unnamed;
    QStringList swatchNames;
    for (const AccessibleControl& control : controls) {
      if (control.name.trimmed().isEmpty())
        unnamed.push_back(control.widget ? control.widget->objectName().toStdString() : "a tab");
      if (qobject_cast<PictureBox*>(control.widget) != nullptr) {
        EXPECT_EQ(control.role, QAccessible::Button);
        swatchNames.push_back(control.name);
      }
    }
    EXPECT_GE(controls.size(), 5u);
    EXPECT_THAT(unnamed, testing::IsEmpty());
    if (std::string_view(tab) == "设置") {
      EXPECT_EQ(swatchNames.size(), 8);
    }
  }
}

TEST_F(Form1Test, EachClockTickShowsTheLocalTimeInPanelThree) {
  struct Case {
    langxing::ClockTime now;
    std::u16string text;
  };
  // Across midnight, a month's end and a year's end, and after ticks that never came: each
  // tick shows the time it reads, not the last one plus a second.
  const Case cases[] = {
      {{2011, 7, 20, 23, 59, 59}, u"2011-7-20 23:59:59"},
      {{2011, 7, 21, 0, 0, 0}, u"2011-7-21 0:00:00"},
      {{2011, 7, 31, 23, 59, 59}, u"2011-7-31 23:59:59"},
      {{2011, 8, 1, 0, 0, 0}, u"2011-8-1 0:00:00"},
      {{2011, 12, 31, 23, 59, 59}, u"2011-12-31 23:59:59"},
      {{2012, 1, 1, 0, 0, 0}, u"2012-1-1 0:00:00"},
      {{2012, 1, 1, 0, 0, 8}, u"2012-1-1 0:00:08"},
  };
  langxing::ClockTime now;
  form.SetClockSource([&] { return now; });
  form.SetClock({1999, 1, 1, 0, 0, 0});
  for (const Case& c : cases) {
    SCOPED_TRACE(QString::fromStdU16String(c.text).toStdString());
    now = c.now;
    writes.clear();
    form.Timer2_Timer();
    EXPECT_EQ(form.Clock(), c.now);
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0], std::make_pair(Form1::ClockPanel, c.text));
    EXPECT_EQ(form.PanelText(Form1::ClockPanel), c.text);
  }
}

TEST_F(Form1Test, PanelWritesReplaceTheWholeTextAndAreRecorded) {
  form.SetPanelText(4, u"状态：获取");
  form.SetPanelText(4, u"状态：获取》》");
  form.SetPanelText(2, u"<b>not markup</b>");
  form.SetPanelText(5, u"ignored");
  form.SetPanelText(0, u"ignored");
  EXPECT_EQ(form.PanelText(4), u"状态：获取》》");
  EXPECT_EQ(controls.StatusBar1->Panel(2)->text(), QStringLiteral("<b>not markup</b>"));
  EXPECT_EQ(controls.StatusBar1->Panel(2)->textFormat(), Qt::PlainText);
  EXPECT_THAT(writes,
              testing::ElementsAre(std::make_pair(4, std::u16string(u"状态：获取")),
                                   std::make_pair(4, std::u16string(u"状态：获取》》")),
                                   std::make_pair(2, std::u16string(u"<b>not markup</b>"))));
}

// The widget geometry matches the twips geometry at 15 twips a pixel.
void ExpectPlaced(QWidget* widget, const TwipsBox& box) {
  EXPECT_EQ(widget->geometry(), QRect(TwipsToPixels(box.left), TwipsToPixels(box.top),
                                      TwipsToPixels(box.width), TwipsToPixels(box.height)))
      << widget->objectName().toStdString();
}

void ExpectAllPlaced(const Form1& form) {
  const langxing::PaneGeometry& g = form.Panes();
  const WindowControls controls(form);
  ExpectPlaced(controls.TabStrip1, g.TabStrip1);
  ExpectPlaced(controls.TreeView1, g.TreeView1);
  ExpectPlaced(controls.List2, g.List2);
  ExpectPlaced(controls.Frame3, g.Frame3);
  ExpectPlaced(controls.Picture2, g.Picture2);
  ExpectPlaced(controls.Frame2, g.Frame2);
  ExpectPlaced(controls.WebBrowser2, g.WebBrowser2);
}

TEST_F(Form1Test, AResizeLaysOutTheRealControls) {
  form.show();
  form.resize(900, 650);
  QApplication::processEvents();
  ASSERT_EQ(form.size(), QSize(900, 650));

  const auto want = langxing::ApplyResizeRule(form.OuterWidthTwips(), form.OuterHeightTwips(),
                                              langxing::PaneGeometry::Design());
  EXPECT_GE(form.OuterWidthTwips(), 900 * 15);
  EXPECT_GE(form.OuterHeightTwips(), 650 * 15);
  EXPECT_EQ(form.Panes(), want.panes);
  ExpectAllPlaced(form);
  EXPECT_EQ(controls.StatusBar1->geometry(), QRect(0, 650 - 17, 900, 17));
  for (int panel = 1; panel <= 4; ++panel)
    EXPECT_EQ(controls.StatusBar1->Panel(panel)->width(),
              TwipsToPixels(want.panelWidths[panel - 1]));
}

void SendMouse(QWidget* target, QEvent::Type type, QPointF local, Qt::MouseButton button,
               Qt::MouseButtons buttons) {
  QMouseEvent event(type, local, target->mapToGlobal(local), button, buttons, Qt::NoModifier);
  QApplication::sendEvent(target, &event);
}

TEST_F(Form1Test, DraggingTheSplitterMovesTheBarThenResizesThePanesAtTheRelease) {
  form.show();
  QApplication::processEvents();
  const QColor startColour = controls.Picture2->BackColor();
  const QColor dragColour(234, 224, 206);
  EXPECT_NE(startColour, dragColour);
  // The bar stands apart from the window's background and the views on its two sides.
  for (const QColor& around : {form.palette().color(QPalette::Window),
                               controls.TreeView1->palette().color(QPalette::Base)})
    EXPECT_GE(std::abs(startColour.lightness() - around.lightness()), 40);
  const langxing::PaneGeometry before = form.Panes();

  SendMouse(controls.Picture2, QEvent::MouseButtonPress, {1, 1}, Qt::LeftButton, Qt::LeftButton);
  EXPECT_EQ(controls.Picture2->BackColor(), dragColour);

  // 100 pixels left of the bar's edge: the bar jumps there, nothing else moves.
  SendMouse(controls.Picture2, QEvent::MouseMove, {-100, 5}, Qt::NoButton, Qt::LeftButton);
  EXPECT_EQ(form.Panes().Picture2.left, 2760 - 1500);
  EXPECT_EQ(controls.Picture2->x(), 84);
  EXPECT_EQ(form.Panes().TabStrip1, before.TabStrip1);
  EXPECT_EQ(controls.TabStrip1->width(), TwipsToPixels(before.TabStrip1.width));

  // With a second button held the bar stays.
  SendMouse(controls.Picture2, QEvent::MouseMove, {-40, 5}, Qt::NoButton,
            Qt::LeftButton | Qt::RightButton);
  EXPECT_EQ(form.Panes().Picture2.left, 1260);

  SendMouse(controls.Picture2, QEvent::MouseButtonRelease, {-40, 5}, Qt::LeftButton, Qt::NoButton);
  const double clientWidth = form.width() * 15.0;
  EXPECT_EQ(form.Panes().TabStrip1.width, 1255);
  EXPECT_EQ(form.Panes().TreeView1.width, 1135);
  EXPECT_EQ(form.Panes().List2.width, 1155);
  EXPECT_EQ(form.Panes().Frame2.left, 1305);
  EXPECT_EQ(form.Panes().Frame2.width, clientWidth - 1305 - 5);
  ExpectAllPlaced(form);
  EXPECT_EQ(controls.Picture2->BackColor(), dragColour);

  // Dragged off the window's left edge, the release brings it back to 1000.
  SendMouse(controls.Picture2, QEvent::MouseButtonPress, {1, 1}, Qt::LeftButton, Qt::LeftButton);
  SendMouse(controls.Picture2, QEvent::MouseMove, {-500, 5}, Qt::NoButton, Qt::LeftButton);
  SendMouse(controls.Picture2, QEvent::MouseButtonRelease, {-500, 5}, Qt::LeftButton, Qt::NoButton);
  EXPECT_EQ(form.Panes().Picture2.left, 1000);
  EXPECT_EQ(form.Panes().TabStrip1.width, 995);
  ExpectAllPlaced(form);
}

}  // namespace

namespace {

TEST(MissingChannelFilePage, ListsEveryFolderSearchedAsText) {
  const std::u16string page =
      MissingChannelFilePage({fs::path("/home/李/.local/share/langxing"), fs::path("/a<b>&'\"")});
  EXPECT_NE(page.find(u"<li>/home/李/.local/share/langxing</li>"), std::u16string::npos);
  EXPECT_NE(page.find(u"<li>/a&lt;b&gt;&amp;&#39;&quot;</li>"), std::u16string::npos);
  EXPECT_NE(page.find(u"chan.dll"), std::u16string::npos);
}

TEST_F(Form1Test, HeadlinesShowTheirTitlesAndKeepTheWholeEntry) {
  constexpr std::int64_t kPublished = 1796774400;
  const QString published =
      QString::fromStdU16String(langxing::PublishedLabel(kPublished, std::time(nullptr)));
  ASSERT_FALSE(published.isEmpty());
  struct Case {
    QString entry;
    QString shown;
    std::optional<std::int64_t> publishedAt = std::nullopt;  // a feed's headline has a time
  };
  const Case cases[] = {
      {QStringLiteral("北京地铁;\"http://go.sina.com.cn/?url=http://a/1.shtml\" "),
       QStringLiteral("北京地铁")},
      {QStringLiteral("甲;乙;\"http://a/2\""), QStringLiteral("甲")},
      {QStringLiteral("抱歉！目前暂没发现新的消息"), QStringLiteral("抱歉！目前暂没发现新的消息")},
      {QStringLiteral(";\"http://a/3\""), QStringLiteral(";\"http://a/3\"")},
      {QStringLiteral("创业环保;url=https://news.sina.com.cn/c/doc-ia.shtml"),
       QStringLiteral("创业环保"), kPublished},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.entry.toStdString());
    controls.List2->addItem(c.entry);
    if (c.publishedAt) ShowPublishTimes(controls.List2, {c.publishedAt});
    QListWidgetItem* item = controls.List2->item(controls.List2->count() - 1);
    const QModelIndex index = controls.List2->model()->index(controls.List2->count() - 1, 0);
    EXPECT_EQ(item->text(), c.entry);
    auto* delegate = static_cast<QStyledItemDelegate*>(controls.List2->itemDelegate());
    EXPECT_EQ(delegate->displayText(index.data(), QLocale()), c.shown);
    EXPECT_EQ(item->toolTip(), c.entry);
    EXPECT_EQ(index.data(Qt::AccessibleDescriptionRole).toString(), c.entry);
    EXPECT_EQ(index.data(Qt::AccessibleTextRole).toString(), c.shown);
    // The list itself shows a feed's headline after the time it was published.
    EXPECT_EQ(HeadlineShownText(index),
              c.publishedAt ? published + QLatin1Char(' ') + c.shown : c.shown);
  }
}

TEST_F(Form1Test, ControlTabAndControlPageKeysStepThroughTheTabs) {
  form.show();
  form.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  struct Step {
    QKeyCombination key;
    const char16_t* tab;
    QWidget* shown;
  };
  const Step steps[] = {
      {Qt::CTRL | Qt::Key_Tab, u"新闻标题", controls.List2},
      {Qt::CTRL | Qt::Key_PageDown, u"设置", controls.Frame3},
      {Qt::CTRL | Qt::Key_Tab, u"新闻目录", controls.TreeView1},  // round the end
      {Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab, u"设置", controls.Frame3},
      {Qt::CTRL | Qt::Key_PageUp, u"新闻标题", controls.List2},
      {Qt::CTRL | Qt::Key_PageUp, u"新闻目录", controls.TreeView1},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(QString::fromStdU16String(step.tab).toStdString());
    QWidget* focused = QApplication::focusWidget();
    QTest::keyClick(focused != nullptr ? focused : &form, step.key.key(),
                    step.key.keyboardModifiers());
    EXPECT_EQ(form.SelectedTabCaption(), step.tab);
    // The tab strip's click handler ran: the tab's view is the one shown.
    for (QWidget* view :
         std::initializer_list<QWidget*>{controls.TreeView1, controls.List2, controls.Frame3})
      EXPECT_EQ(view->isVisibleTo(&form), view == step.shown);
  }
}

TEST_F(Form1Test, AtItsLeastSizeEveryControlShowsAndEveryPanelHoldsItsText) {
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  const QSize least = form.minimumSize();
  EXPECT_LE(least.width(), 755);  // never more than the window's design size
  EXPECT_LE(least.height(), 559);
  form.resize(50, 50);
  QTest::qWait(50);
  EXPECT_EQ(form.size(), least);

  const QRect client = form.rect();
  for (const char* tab : {"新闻目录", "新闻标题", "设置"}) {
    form.SelectTab(langxing::Utf8ToUtf16(tab));
    for (QWidget* w : form.findChildren<QWidget*>()) {
      if (!w->isVisibleTo(&form) || w->parentWidget() != &form) continue;
      EXPECT_TRUE(client.contains(w->geometry())) << w->objectName().toStdString();
    }
  }
  // The settings pane shows its colour frame whole.
  EXPECT_LE(controls.Frame4->geometry().bottom(), controls.Frame3->height());

  const std::pair<int, std::u16string> texts[] = {
      {Form1::TitlePanel, form.PanelText(Form1::TitlePanel)},
      {Form1::TitlePanel, u"目前是最新版"},
      {Form1::ClockPanel, u"2088-12-28 20:58:58"},
      {Form1::StatusPanel, u"状态：检查版本。。。"},
  };
  for (const auto& [panel, text] : texts) {
    form.SetPanelText(panel, text);
    QLabel* label = controls.StatusBar1->Panel(panel);
    EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text().trimmed()),
              label->contentsRect().width())
        << panel;
  }
}

}  // namespace
