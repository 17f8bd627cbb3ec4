// SPDX-License-Identifier: GPL-3.0-or-later
// A loaded Form1 against the local portal: a channel file in a temporary folder, the proxy
// pointed at the portal, a fake message box and address opener, and every panel write recorded.
// The window suites (tests/app, tests/faults) build their windows on it.
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QListWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest/QTest>
#include <filesystem>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <random>
#include <string>
#include <vector>

#include "app/form1.hpp"
#include "core/text.hpp"
#include "tests/portal/normal_listing.hpp"
#include "tests/portal/test_portal.hpp"
#include "tests/support/status_wait.hpp"
#include "tests/support/temp_dir.hpp"
#include "tests/support/tree_path.hpp"
#include "tests/support/window_controls.hpp"

namespace newswindow {

namespace fs = std::filesystem;

struct ScriptedMessageBox final : langxing::MessageBoxService {
  struct Shown {
    std::u16string text;
    int style;
  };
  std::vector<Shown> shown;
  int answer = langxing::MessageBoxResultOk;
  int Show(const std::u16string& text, int style) override {
    shown.push_back({text, style});
    return answer;
  }
};

struct RecordingOpener final : AddressOpener {
  std::vector<std::u16string> opened;
  bool Open(const std::u16string& address) override {
    opened.push_back(address);
    return true;
  }
};

struct TempDir : langxing::testsupport::TempDir {
  TempDir() : langxing::testsupport::TempDir("langxing-news-test-") {}
};

inline std::u16string U16(const std::string& utf8) { return langxing::Utf8ToUtf16(utf8); }

// The channel file the window is loaded with (UTF-8, CR LF line ends).
inline const std::vector<std::string> DefaultChannelLines = {
    "新闻中心_国内新闻--http://news.sina.com.cn/china/index_list.shtml",
    "新闻中心_国内--http://news.sina.com.cn/society/index_list.shtml",
    "新闻中心_社会--http://news.sina.com.cn/society/index_list.shtml",
    "新闻中心_逐行--http://news.sina.com.cn/spaced/index_list.shtml",
    "新闻中心_无表格--http://news.sina.com.cn/notable/index.shtml",
    "新闻中心_已删除--http://news.sina.com.cn/missing/index_list.shtml",
    "新闻中心_双横线--http://news.sina.com.cn/a--b/index_list.shtml",
    "新闻中心_迟到--http://news.sina.com.cn/late/index_list.shtml",
    "体育新闻_国内新闻--http://sports.sina.com.cn/china/index_list.shtml",
    // Today's roll feed: a roll page, the feed's own address (code 11), a feed that answers 403.
    "新闻中心_滚动--http://news.sina.com.cn/roll/#pageid=153&lid=2509&k=&num=50&page=1",
    "新闻中心_未注册--http://feed.mix.sina.com.cn/api/roll/get?pageid=153&lid=2514",
    "新闻中心_拒绝--http://news.sina.com.cn/roll/#pageid=153&lid=2511",
};

// The feed behind the roll page: each item with a title and an http(s) url, in feed order.
inline const std::string RollFeedAddress =
    "http://feed.mix.sina.com.cn/api/roll/get?pageid=153&lid=2509&k=&num=50&page=1";
inline std::vector<std::u16string> FeedListingEntries() {
  const char* const entries[] = {
      "全国冬季供暖全面启动;url=https://news.sina.com.cn/c/2026-12-09/doc-inazqmkr1024301.shtml",
      ("媒体：“双十二”电商;快递量创新高;url=https://finance.sina.com.cn/roll/2026-12-09/"
       "doc-inazqmkr1024302.shtml"),
      "\"天宫\"课堂 第五课开讲;url=https://tech.sina.com.cn/d/2026-12-09/doc-inazqmkr1024303.shtml",
      "北方地区迎来大范围降雪;url=http://news.sina.com.cn/s/2026-12-09/doc-inazqmkr1024305.shtml",
  };
  std::vector<std::u16string> out;
  for (const char* e : entries) out.push_back(U16(e));
  return out;
}

// The entries of the portal's normal listing, in page order.
inline std::vector<std::u16string> NormalListingEntries() {
  std::vector<std::u16string> out;
  for (const std::string& e : langxing::testportal::kNormalListingEntries) out.push_back(U16(e));
  return out;
}

inline std::vector<std::u16string> Utf8ListingEntries() {
  const char* const entries[] = {
      "上海世博会今日开园 "
      "首日游客逾二十万;\"http://go.sina.com.cn/?url=http://news.sina.com.cn/c/2010-05-01/"
      "utf8_1.shtml\" ",
      "青海玉树地震灾区学校复课;\"http://go.sina.com.cn/?url=http://news.sina.com.cn/c/2010-05-01/"
      "utf8_2.shtml\" ",
      "南方多省遭遇强降雨袭击;\"http://go.sina.com.cn/?url=http://news.sina.com.cn/c/2010-05-01/"
      "utf8_3.shtml\" ",
      "五一小长假铁路客流创新高;\"http://go.sina.com.cn/?url=http://news.sina.com.cn/c/2010-05-01/"
      "utf8_4.shtml\" ",
      "“低碳生活”成为市民新时尚;\"http://go.sina.com.cn/?url=http://news.sina.com.cn/c/2010-05-01/"
      "utf8_5.shtml\" ",
  };
  std::vector<std::u16string> out;
  for (const char* e : entries) out.push_back(U16(e));
  return out;
}

inline const std::u16string Apology = U16("抱歉！目前暂没发现新的消息");

class NewsWindowTest : public testing::Test {
 protected:
  explicit NewsWindowTest(const std::vector<std::string>& channelLines = DefaultChannelLines) {
    {
      std::ofstream file(dir.path() / "chan.dll", std::ios::binary);
      for (const std::string& line : channelLines) file << line << "\r\n";
    }
    form.SetMessageBox(&box);
    form.SetAddressOpener(&opener);
    form.SetProgramEnder([this] { ++endings; });
    // The update check starts only when a test asks for it.
    controls.Timer1->stop();
    form.SetWorkingDirectory(dir.path());
    form.Form_Load();
    form.SetPanelTextWatcher(
        [this](int panel, const std::u16string& text) { writes.emplace_back(panel, text); });
  }

  // Every text written to one panel, in order.
  std::vector<std::u16string> WritesTo(int panel) const {
    std::vector<std::u16string> texts;
    for (const auto& [p, text] : writes)
      if (p == panel) texts.push_back(text);
    return texts;
  }

  std::vector<std::u16string> ListItems() const {
    std::vector<std::u16string> items;
    for (int i = 0; i < controls.List2->count(); ++i)
      items.push_back(controls.List2->item(i)->text().toStdU16String());
    return items;
  }

  // The node at a path of texts from the root, expanded into view; nullptr if there is none.
  QTreeWidgetItem* Node(std::initializer_list<const char*> path) {
    return langxing::testsupport::NodeAtPath(controls.TreeView1, path);
  }

  // A left click in the middle of the node's row, as the user makes it.
  void Click(QTreeWidgetItem* item) {
    ASSERT_NE(item, nullptr);
    if (!form.isVisible()) form.show();
    form.SelectTab(u"新闻目录");
    controls.TreeView1->scrollToItem(item);
    const QRect row = controls.TreeView1->visualItemRect(item);
    ASSERT_TRUE(row.isValid());
    QTest::mouseClick(controls.TreeView1->viewport(), Qt::LeftButton, Qt::NoModifier, row.center());
  }

  // Waits (a few seconds at most) until the headline run of the latest click has ended.
  bool WaitForIdle(int timeoutMs = 8000) {
    return langxing::testsupport::WaitForRunEnd(writes, timeoutMs);
  }

  TempDir dir;
  langxing::testportal::TestPortal portal;
  langxing::testportal::ScopedProxy proxy{portal};
  ScriptedMessageBox box;
  RecordingOpener opener;
  int endings = 0;
  std::vector<std::pair<int, std::u16string>> writes;
  Form1 form;
  const WindowControls controls{form};  // looked up once
};

}  // namespace newswindow
