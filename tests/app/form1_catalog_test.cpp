// SPDX-License-Identifier: GPL-3.0-or-later
// Clicks on the catalog tree: which nodes load a page, which line's address is loaded, and that
// one user action starts one load.
#include <QApplication>
#include <QProxyStyle>

#include "tests/support/form1_access.hpp"
#include "tests/support/news_window_harness.hpp"
#include "tests/support/window_controls.hpp"

namespace newswindow {
namespace {

using CatalogClickTest = NewsWindowTest;

TEST_F(CatalogClickTest, ChannelClickLoadsTheAddressOfTheFirstLineContainingItsText) {
  const std::string doubleDash = "http://news.sina.com.cn/a--b/index_list.shtml";
  portal.SetPage(doubleDash, *portal.PageFor("http://news.sina.com.cn/china/index_list.shtml"));

  struct Case {
    std::initializer_list<const char*> path;
    std::string loaded;
  };
  const Case cases[] = {
      {{"朗星快报", "新闻中心", "国内新闻"}, "http://news.sina.com.cn/china/index_list.shtml"},
      {{"朗星快报", "新闻中心", "社会"}, "http://news.sina.com.cn/society/index_list.shtml"},
      // "国内新闻" comes first in the file and contains "国内".
      {{"朗星快报", "新闻中心", "国内"}, "http://news.sina.com.cn/china/index_list.shtml"},
      // The same name in a later category still finds the first line of the file.
      {{"朗星快报", "体育新闻", "国内新闻"}, "http://news.sina.com.cn/china/index_list.shtml"},
      // Everything after the first "--", a later "--" included.
      {{"朗星快报", "新闻中心", "双横线"}, doubleDash},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.loaded);
    portal.ClearRequests();
    writes.clear();
    Click(Node(c.path));
    ASSERT_FALSE(writes.empty());
    EXPECT_EQ(writes.front(), std::pair(4, U16("状态：获取")));
    EXPECT_TRUE(Form1Access::HeadlinesRequested(form));
    EXPECT_EQ(Form1Access::HeadlineView(form).LocationURL(), U16(c.loaded));
    ASSERT_TRUE(WaitForIdle());
    EXPECT_EQ(portal.Requests(), std::vector<std::string>{c.loaded});
  }
}

TEST_F(CatalogClickTest, NodesThatAreNoChannelOnlySetTheStatusText) {
  const std::initializer_list<const char*> nodes[] = {
      {"朗星快报"},
      {"朗星快报", "新闻中心"},  // a category with channels
      {"朗星快报", "星座新闻"},  // a category without any: a leaf with no channel text
  };
  for (const auto& path : nodes) {
    SCOPED_TRACE(*(path.end() - 1));
    writes.clear();
    Click(Node(path));
    QTest::qWait(100);
    EXPECT_EQ(writes, (std::vector<std::pair<int, std::u16string>>{{4, U16("状态：获取")}}));
  }
  EXPECT_FALSE(Form1Access::HeadlinesRequested(form));
  EXPECT_TRUE(Form1Access::HeadlineView(form).LocationURL().empty());
  EXPECT_TRUE(portal.Requests().empty());
}

TEST_F(CatalogClickTest, EnterOpensTheCurrentChannel) {
  QTreeWidgetItem* channel = Node({"朗星快报", "新闻中心", "社会"});
  ASSERT_NE(channel, nullptr);
  form.show();
  form.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  controls.TreeView1->setFocus();
  controls.TreeView1->setCurrentItem(channel);
  QTest::keyClick(controls.TreeView1, Qt::Key_Return);
  ASSERT_TRUE(WaitForIdle());
  EXPECT_EQ(WritesTo(4).front(), U16("状态：获取"));
  EXPECT_EQ(portal.Requests(),
            std::vector<std::string>{"http://news.sina.com.cn/society/index_list.shtml"});
  EXPECT_EQ(ListItems(), Utf8ListingEntries());
  // The headlines have the focus, so the arrow keys and Enter go on from there at once.
  EXPECT_EQ(QApplication::focusWidget(), controls.List2);
}

// A style that activates an item on a single click as well, as some desktops do.
class SingleClickActivation final : public QProxyStyle {
 public:
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* returnData) const override {
    if (hint == SH_ItemView_ActivateItemOnSingleClick) return 1;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
  }
};

TEST_F(CatalogClickTest, OneClickStartsOneLoadWhateverTheStyle) {
  for (const bool activatesOnClick : {false, true}) {
    SCOPED_TRACE(activatesOnClick ? "activates on a single click" : "activates on a double click");
    SingleClickActivation* style = nullptr;
    if (activatesOnClick) {
      style = new SingleClickActivation;
      style->setParent(controls.TreeView1);
      controls.TreeView1->setStyle(style);
    }
    writes.clear();
    portal.ClearRequests();
    Click(Node({"朗星快报", "新闻中心", "国内新闻"}));
    ASSERT_TRUE(WaitForIdle());
    QTest::qWait(200);
    const std::vector<std::u16string> status = WritesTo(4);
    EXPECT_EQ(std::count(status.begin(), status.end(), U16("状态：获取")), 1);
    EXPECT_EQ(std::count(status.begin(), status.end(), U16("状态：获取》")), 1);
    EXPECT_EQ(portal.Requests().size(), 1u);
  }
}

}  // namespace
}  // namespace newswindow
