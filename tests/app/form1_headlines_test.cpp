// SPDX-License-Identifier: GPL-3.0-or-later
// Headline pages completing in the hidden view: the list they leave, the status texts of a run,
// the tab brought to the front, and loads that fail or are superseded.
#include <gmock/gmock.h>

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QRegularExpression>
#include <optional>

#include "app/focus_ring.hpp"
#include "app/headline_titles.hpp"
#include "app/ui_poster.hpp"
#include "tests/support/form1_access.hpp"
#include "tests/support/news_window_harness.hpp"
#include "tests/support/window_controls.hpp"

namespace newswindow {
namespace {

using HeadlineListTest = NewsWindowTest;

const std::vector<std::u16string> RunStatusTexts = {U16("状态：获取"), U16("状态：获取》"),
                                                    U16("状态：获取》》"), U16("状态：获取完成"),
                                                    U16("状态：空闲")};

TEST_F(HeadlineListTest, ChannelPageFillsTheListInPageOrderAndShowsIt) {
  struct Case {
    const char* channel;
    std::vector<std::u16string> entries;
  };
  const Case cases[] = {
      {"国内新闻", NormalListingEntries()},
      {"社会", Utf8ListingEntries()},        // a UTF-8 page
      {"逐行", NormalListingEntries()},      // every tag on a line of its own
      {"无表格", {Apology}},                 // a portal page without the table
      {"已删除", {Apology}},                 // 404
      {"国内新闻", NormalListingEntries()},  // a reload replaces, never adds
      {"滚动", FeedListingEntries()},        // today's roll page: its feed
      {"未注册", {Apology}},                 // the feed's own address, code 11
      {"拒绝", {Apology}},                   // the feed answers 403
      {"国内新闻", NormalListingEntries()},  // and back to a classic page
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.channel);
    writes.clear();
    Click(Node({"朗星快报", "新闻中心", c.channel}));
    ASSERT_TRUE(WaitForIdle());
    EXPECT_EQ(ListItems(), c.entries);
    EXPECT_EQ(WritesTo(4), RunStatusTexts);
    EXPECT_EQ(form.SelectedTabCaption(), U16("新闻标题"));
    EXPECT_TRUE(controls.List2->isVisibleTo(&form));
    EXPECT_FALSE(controls.TreeView1->isVisibleTo(&form));
  }
}

TEST_F(HeadlineListTest, ARollPageLoadsOnlyItsFeedWithTheRefererTheFeedWants) {
  Click(Node({"朗星快报", "新闻中心", "滚动"}));
  ASSERT_TRUE(WaitForIdle());
  EXPECT_EQ(portal.Requests(), std::vector<std::string>{RollFeedAddress});
  const std::vector<std::string> headers = portal.RequestHeaders(RollFeedAddress);
  EXPECT_THAT(headers, testing::Contains("Referer: http://news.sina.com.cn/"));
  EXPECT_THAT(headers, testing::Contains(testing::StartsWith("User-Agent: Mozilla/5.0")));
  const std::string& line = DefaultChannelLines[9];
  EXPECT_EQ(Form1Access::HeadlineView(form).LocationURL(), U16(line.substr(line.find("--") + 2)));
}

TEST_F(HeadlineListTest, TitleMarkerIsReadFromText2AtEachRun) {
  // A marker that stands in no row: every row gives the text before its title end instead of
  // the title, so the list is not the page's titles any more.
  Form1Access::SetTitleStartMarker(form, u"<NO-SUCH-MARKER>");
  Click(Node({"朗星快报", "新闻中心", "国内新闻"}));
  ASSERT_TRUE(WaitForIdle());
  const std::vector<std::u16string> items = ListItems();
  ASSERT_EQ(items.size(), NormalListingEntries().size());
  EXPECT_NE(items, NormalListingEntries());
}

TEST_F(HeadlineListTest, CompletionBeforeAnyChannelClickOnlyEmptiesTheList) {
  controls.List2->addItem(QStringLiteral("旧条目"));
  Form1Access::HeadlineView(form).Navigate(U16("http://news.sina.com.cn/china/index_list.shtml"));
  ASSERT_TRUE(QTest::qWaitFor([this] { return !writes.empty(); }, 8000));
  QTest::qWait(100);
  EXPECT_EQ(writes, (std::vector<std::pair<int, std::u16string>>{{4, U16("状态：获取》")}}));
  EXPECT_EQ(controls.List2->count(), 0);
  EXPECT_EQ(form.SelectedTabCaption(), U16("新闻目录"));
}

TEST_F(HeadlineListTest, ClickDuringALoadShowsOnlyTheLastPage) {
  langxing::testportal::Page late =
      *portal.PageFor("http://news.sina.com.cn/society/index_list.shtml");
  late.delay = std::chrono::milliseconds(700);
  portal.SetPage("http://news.sina.com.cn/late/index_list.shtml", late);

  Click(Node({"朗星快报", "新闻中心", "迟到"}));
  Click(Node({"朗星快报", "新闻中心", "国内新闻"}));
  ASSERT_TRUE(WaitForIdle());
  // Give the superseded page time to arrive; it must not be shown.
  QTest::qWait(1200);
  EXPECT_EQ(ListItems(), NormalListingEntries());
  const std::vector<std::u16string> status = WritesTo(4);
  EXPECT_EQ(std::count(status.begin(), status.end(), U16("状态：获取》")), 1);
}

TEST_F(HeadlineListTest, F5LoadsTheOpenChannelAgainWithAFullRun) {
  QTest::keyClick(&form, Qt::Key_F5);  // nothing opened yet: nothing to load
  EXPECT_TRUE(writes.empty());
  Click(Node({"朗星快报", "新闻中心", "国内新闻"}));
  ASSERT_TRUE(WaitForIdle());
  // Elsewhere in the catalog, the open channel is still the one loaded again.
  controls.TreeView1->setCurrentItem(Node({"朗星快报", "体育新闻"}));
  const std::size_t requestsBefore = portal.Requests().size();
  writes.clear();
  QTest::keyClick(&form, Qt::Key_F5);
  ASSERT_TRUE(WaitForIdle());
  EXPECT_EQ(WritesTo(4), RunStatusTexts);
  ASSERT_EQ(portal.Requests().size(), requestsBefore + 1);
  EXPECT_EQ(portal.Requests().back(), "http://news.sina.com.cn/china/index_list.shtml");
  EXPECT_EQ(ListItems(), NormalListingEntries());
}

// The context menu of the item at `row`, as a right click opens it.
QMenu* HeadlineMenuAt(QListWidget* list, int row) {
  const QRect rect = list->visualItemRect(list->item(row));
  QContextMenuEvent event(QContextMenuEvent::Mouse, rect.center(),
                          list->viewport()->mapToGlobal(rect.center()));
  QCoreApplication::sendEvent(list->viewport(), &event);
  QMenu* menu = nullptr;
  for (QMenu* m : list->window()->findChildren<QMenu*>(QStringLiteral("HeadlineMenu")))
    if (m->isVisible()) menu = m;
  return menu;
}

QAction* Entry(QMenu* menu, const char* text) {
  for (QAction* action : menu->actions())
    if (action->text() == QString::fromUtf8(text)) return action;
  return nullptr;
}

TEST_F(HeadlineListTest, ContextMenuOpensCopiesAndHandsOnAndReadHeadlinesStayMuted) {
  Click(Node({"朗星快报", "新闻中心", "滚动"}));
  ASSERT_TRUE(WaitForIdle());
  ASSERT_EQ(ListItems(), FeedListingEntries());
  const QString address =
      QStringLiteral("https://finance.sina.com.cn/roll/2026-12-09/doc-inazqmkr1024302.shtml");
  const QBrush unread = controls.List2->item(1)->foreground();

  QMenu* menu = HeadlineMenuAt(controls.List2, 1);
  ASSERT_NE(menu, nullptr);
  Entry(menu, "复制链接")->trigger();
  EXPECT_EQ(QGuiApplication::clipboard()->text(), address);
  menu->close();
  HeadlineMenuAt(controls.List2, 1)->actions()[1]->trigger();  // 在浏览器中打开
  EXPECT_EQ(opener.opened, std::vector<std::u16string>{address.toStdU16String()});
  EXPECT_FALSE(form.RenderInFlight()) << "the browser alone shows it";

  menu = HeadlineMenuAt(controls.List2, 1);
  Entry(menu, "打开")->trigger();
  EXPECT_EQ(form.ArticleAddress(), address.toStdU16String());
  const QColor muted = controls.List2->item(1)->foreground().color();
  EXPECT_NE(controls.List2->item(1)->foreground(), unread);
  EXPECT_EQ(controls.List2->item(0)->foreground(), unread);

  // Loaded again, the headline read is still drawn muted.
  writes.clear();
  QTest::keyClick(&form, Qt::Key_F5);
  ASSERT_TRUE(WaitForIdle());
  EXPECT_EQ(controls.List2->item(1)->foreground().color(), muted);
  EXPECT_EQ(controls.List2->item(2)->foreground(), unread);

  // A menu still open when the list is emptied opens nothing.
  menu = HeadlineMenuAt(controls.List2, 2);
  ASSERT_NE(menu, nullptr);
  controls.List2->clear();
  form.CancelRender();
  Entry(menu, "打开")->trigger();
  EXPECT_FALSE(form.RenderInFlight());
}

TEST_F(HeadlineListTest, ContextMenuOfTheApologyLineOffersNothing) {
  Click(Node({"朗星快报", "新闻中心", "无表格"}));
  ASSERT_TRUE(WaitForIdle());
  ASSERT_EQ(ListItems(), std::vector<std::u16string>{Apology});
  QMenu* menu = HeadlineMenuAt(controls.List2, 0);
  ASSERT_NE(menu, nullptr);
  for (QAction* action : menu->actions())
    EXPECT_FALSE(action->isEnabled()) << action->text().toStdString();
}

TEST_F(HeadlineListTest, TheFocusRingFollowsTheFocusFromPaneToPane) {
  form.show();
  form.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  const auto* ring = form.findChild<FocusRing*>(QStringLiteral("FocusRing"));
  ASSERT_NE(ring, nullptr);
  for (QWidget* pane :
       {static_cast<QWidget*>(controls.TabStrip1->Bar()), static_cast<QWidget*>(controls.TreeView1),
        static_cast<QWidget*>(controls.WebBrowser2)}) {
    SCOPED_TRACE(pane->metaObject()->className());
    pane->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(QTest::qWaitFor([&] { return ring->Around() == pane; }, 2000));
    EXPECT_TRUE(ring->isVisible());
    EXPECT_EQ(ring->geometry(), QRect(pane->mapTo(&form, QPoint(0, 0)), pane->size()));
  }
  form.SelectTab(u"设置");
  controls.Check1->setFocus(Qt::TabFocusReason);
  EXPECT_EQ(ring->Around(), nullptr);
  EXPECT_FALSE(ring->isVisible());
}

// Points the proxy at a loopback port nobody listens on, for the life of the object.
class UnreachableProxy {
 public:
  UnreachableProxy() {
    for (const char* name : kNames) {
      saved_.push_back(qgetenv(name));
      qputenv(name, "http://127.0.0.1:1");
    }
  }
  ~UnreachableProxy() {
    for (std::size_t i = 0; i < std::size(kNames); ++i) qputenv(kNames[i], saved_[i]);
  }

 private:
  static constexpr const char* kNames[] = {"http_proxy", "HTTP_PROXY"};
  std::vector<QByteArray> saved_;
};

// Channels whose pages never come whole, and a headline view with limits that fail them in
// moments rather than half a minute.
class FailedListingTest : public NewsWindowTest {
 protected:
  FailedListingTest()
      : NewsWindowTest({"新闻中心_国内新闻--http://news.sina.com.cn/china/index_list.shtml",
                        "新闻中心_无应答--http://news.sina.com.cn/stall/index_list.shtml",
                        "新闻中心_超大--http://news.sina.com.cn/oversized/index_list.shtml",
                        "新闻中心_断开--http://news.sina.com.cn/close/index_list.shtml",
                        "新闻中心_无表格--http://news.sina.com.cn/notable/index.shtml"}) {
    langxing::NetworkLimits limits;
    limits.connectTimeout = std::chrono::milliseconds(1000);
    limits.totalTimeout = std::chrono::milliseconds(1500);
    limits.maxBodyBytes = 256 * 1024;
    Form1Access::LimitHeadlineView(form, limits);
  }
};

TEST_F(FailedListingTest, APageThatNeverCameSaysSoInTheListAndTheStatus) {
  struct Case {
    const char* channel;
    bool unreachable;  // the proxy points at a port nobody listens on
    const char* lastStatus;
    const char* listLine;  // the list's one line; nullptr: the page's headlines
  };
  const Case cases[] = {
      {"国内新闻", true, "状态：获取失败（无法连接）", "获取失败：无法连接"},
      {"无应答", false, "状态：获取失败（超时）", "获取失败：超时"},
      {"超大", false, "状态：获取失败（页面过大）", "获取失败：页面过大"},
      {"断开", false, "状态：获取失败", "获取失败"},
      // A page that came without headlines is no failure: the apology line.
      {"无表格", false, "状态：空闲", "抱歉！目前暂没发现新的消息"},
      {"国内新闻", false, "状态：空闲", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.channel);
    std::optional<UnreachableProxy> unreachable;
    if (c.unreachable) unreachable.emplace();
    writes.clear();
    Click(Node({"朗星快报", "新闻中心", c.channel}));
    ASSERT_TRUE(WaitForIdle());
    std::vector<std::u16string> texts = RunStatusTexts;
    texts.back() = U16(c.lastStatus);
    EXPECT_EQ(WritesTo(4), texts);
    if (c.listLine != nullptr) {
      EXPECT_EQ(ListItems(), std::vector<std::u16string>{U16(c.listLine)});
      // Neither line opens anything.
      form.List2_Click(controls.List2->item(0));
      EXPECT_FALSE(form.RenderInFlight());
    } else {
      EXPECT_EQ(ListItems(), NormalListingEntries());
    }
    if (c.unreachable) {
      EXPECT_TRUE(portal.Requests().empty());
    }
  }
}

// A channel page that names its feed on the page: the window asks the feed with the page as
// Referer and lists its headlines, each shown after the time it was published.
TEST_F(HeadlineListTest, APageThatNamesItsFeedListsTheFeedWithItsTimes) {
  const std::string address = "http://news.sina.com.cn/notable/index.shtml";
  langxing::testportal::Page page;
  page.body =
      "<html><head><meta charset=\"utf-8\"></head><body><h2>国内新闻</h2><script>"
      "var feedCardConfig = { pageid: 153, firstTab: { lid: 2509 } };</script></body></html>";
  portal.SetPage(address, page);
  Click(Node({"朗星快报", "新闻中心", "无表格"}));
  ASSERT_TRUE(WaitForIdle());
  EXPECT_EQ(ListItems(), FeedListingEntries());
  EXPECT_EQ(portal.Requests(), (std::vector<std::string>{address, RollFeedAddress}));
  EXPECT_THAT(portal.RequestHeaders(RollFeedAddress), testing::Contains("Referer: " + address));
  // The fixture's items are of December 2025: another day, so the date stands before the time.
  const QString shown = HeadlineShownText(controls.List2->model()->index(0, 0));
  EXPECT_TRUE(
      QRegularExpression(QStringLiteral("^\\d\\d-\\d\\d \\d\\d:\\d\\d 全国冬季供暖全面启动$"))
          .match(shown)
          .hasMatch())
      << shown.toStdString();
}

}  // namespace
}  // namespace newswindow
