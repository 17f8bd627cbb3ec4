// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up with channel files no one would write by hand: the longest list the program keeps,
// with a line of a mebibyte among them, and files of random bytes. Form_Load must return with
// the catalog built, and the channels it shows must still open.
#include <chrono>
#include <iostream>

#include "catalog/channel_file.hpp"
#include "tests/faults/fault_window.hpp"
#include "tests/support/form1_access.hpp"
#include "tests/support/window_controls.hpp"

namespace faults {
namespace {

using newswindow::TempDir;

class ChannelFileStartupTest : public testing::Test {
 protected:
  ChannelFileStartupTest() {
    form.SetMessageBox(&box);
    form.SetAddressOpener(&opener);
    form.SetProgramEnder([] {});
    controls.Timer1->stop();
    form.SetWorkingDirectory(dir.path());
    form.SetPanelTextWatcher([this](int panel, const std::u16string& text) {
      if (panel == Form1::StatusPanel) status.push_back(text);
    });
  }

  void WriteChannelFile(const std::string& bytes) {
    std::ofstream file(dir.path() / "chan.dll", std::ios::binary);
    file << bytes;
  }

  // Form_Load, timed; fails the test when it throws.
  double LoadSeconds() {
    const auto started = std::chrono::steady_clock::now();
    EXPECT_NO_THROW(form.Form_Load());
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  }

  int Leaves() const {
    int leaves = 0;
    const QTreeWidgetItem* root = controls.TreeView1->topLevelItem(0);
    for (int i = 0; root != nullptr && i < root->childCount(); ++i)
      leaves += root->child(i)->childCount();
    return leaves;
  }

  // Selects the leaf and runs the click handler on it, as a click on the node does; true once
  // the run has ended with the list in a defined state.
  bool OpenLeaf(QTreeWidgetItem* leaf) {
    // The headline view is parked on the empty page first, so a navigation shows.
    Form1Access::HeadlineView(form).Navigate(u"about:blank");
    if (!QTest::qWaitFor([this] { return !status.empty(); }, 8000)) return false;
    status.clear();
    controls.TreeView1->setCurrentItem(leaf);
    form.TreeView1_NodeClick();
    if (Form1Access::HeadlineView(form).LocationURL() == u"about:blank") return status.size() == 1;
    return QTest::qWaitFor(
        [this] {
          return !status.empty() &&
                 (status.back() == u"状态：空闲" || status.back().starts_with(u"状态：获取失败"));
        },
        8000);
  }

  std::vector<std::u16string> ListItems() const {
    std::vector<std::u16string> items;
    for (int i = 0; i < controls.List2->count(); ++i)
      items.push_back(controls.List2->item(i)->text().toStdU16String());
    return items;
  }

  TempDir dir;
  langxing::testportal::TestPortal portal;
  langxing::testportal::ScopedProxy proxy{portal};
  newswindow::ScriptedMessageBox box;
  newswindow::RecordingOpener opener;
  std::vector<std::u16string> status;
  Form1 form;
  const WindowControls controls{form};  // looked up once
};

TEST_F(ChannelFileStartupTest, LongestListWithAMebibyteLineLoadsAndItsChannelsOpen) {
  constexpr int kLines = 32767;
  constexpr int kHugeAt = 16000;
  const std::string categories[] = {"新闻中心", "体育新闻", "博客频道", "科技新闻"};
  std::string bytes;
  for (int i = 0; i < kLines; ++i) {
    const std::string category = categories[i % 4];
    if (i == kHugeAt) {
      bytes += category + "_" + std::string(1 << 20, 'x') + "--http://news.sina.com.cn/huge/\r\n";
    } else if (i == kLines - 1) {
      bytes += category + "_最后一个频道--http://news.sina.com.cn/china/index_list.shtml\r\n";
    } else {
      bytes += category + "_频道" + std::to_string(i) + "--http://news.sina.com.cn/c" +
               std::to_string(i) + "/index_list.shtml\r\n";
    }
  }
  // Lines past the list's limit are not read.
  bytes += "新闻中心_多余的频道--http://news.sina.com.cn/china/index_list.shtml\r\n";
  WriteChannelFile(bytes);

  const double seconds = LoadSeconds();
  std::cout << "start-up with " << kLines << " channel lines (" << bytes.size()
            << " bytes, one line of 1 MiB): Form_Load took " << seconds << " s\n";
  ASSERT_EQ(form.ChannelLines().size(), static_cast<std::size_t>(kLines));
  EXPECT_EQ(form.ChannelLines()[kHugeAt].size(),
            (1u << 20) + std::u16string_view(u"新闻中心_--http://news.sina.com.cn/huge/").size());
  ASSERT_EQ(controls.TreeView1->topLevelItemCount(), 1);
  EXPECT_EQ(Leaves(), kLines);
  EXPECT_TRUE(box.shown.empty());

  // The channels on both sides of the long line open: the last one is the portal's listing.
  QTreeWidgetItem* lastCategory = controls.TreeView1->topLevelItem(0)->child((kLines - 1) % 4);
  QTreeWidgetItem* last = lastCategory->child(lastCategory->childCount() - 1);
  ASSERT_EQ(last->text(0), QStringLiteral("最后一个频道"));
  ASSERT_TRUE(OpenLeaf(last));
  EXPECT_EQ(ListItems(), newswindow::NormalListingEntries());
  QTreeWidgetItem* huge = controls.TreeView1->topLevelItem(0)->child(0)->child(kHugeAt / 4);
  ASSERT_EQ(huge->text(0).size(), 1 << 20);
  ASSERT_TRUE(OpenLeaf(huge));
  EXPECT_EQ(ListItems(), std::vector<std::u16string>{newswindow::Apology});
}

TEST_F(ChannelFileStartupTest, RandomBytesLoadAndWhateverChannelsTheyGiveOpen) {
  // Random bytes, and random bytes cut into lines that carry category markers, so that the
  // catalog gets channels with random names and addresses.
  std::mt19937 random(42);
  const auto randomBytes = [&](std::size_t count) {
    std::string bytes(count, '\0');
    for (char& c : bytes) c = static_cast<char>(random());
    return bytes;
  };
  std::string marked;
  using langxing::testportal::ToGbk;
  const std::string markers[] = {ToGbk("新闻中心_"),
                                 ToGbk("体育新闻_"),
                                 "--",
                                 "--http://news.sina.com.cn/",
                                 "\r\n",
                                 "\n",
                                 "\r",
                                 "_"};
  for (int i = 0; i < 4000; ++i)
    marked += randomBytes(random() % 200) + markers[random() % std::size(markers)];
  const std::vector<std::pair<const char*, std::string>> files = {
      {"random bytes", randomBytes(1 << 20)},
      {"random bytes after a UTF-8 byte order mark", "\xEF\xBB\xBF" + randomBytes(1 << 18)},
      {"random lines with markers", marked},
  };
  for (const auto& [name, bytes] : files) {
    SCOPED_TRACE(name);
    WriteChannelFile(bytes);
    Form1 fresh;
    fresh.SetMessageBox(&box);
    fresh.SetProgramEnder([] {});
    Ctl(fresh).Timer1->stop();
    fresh.SetWorkingDirectory(dir.path());
    const auto started = std::chrono::steady_clock::now();
    ASSERT_NO_THROW(fresh.Form_Load());
    std::cout << name << " (" << bytes.size() << " bytes): Form_Load took "
              << std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count()
              << " s, " << fresh.ChannelLines().size() << " lines\n";
    EXPECT_LE(fresh.ChannelLines().size(), langxing::MaxChannelLines);
    ASSERT_EQ(Ctl(fresh).TreeView1->topLevelItemCount(), 1);
    EXPECT_EQ(Ctl(fresh).TreeView1->topLevelItem(0)->childCount(), 14);
  }

  // The form under test loads the marked file; a run of its channels each ends in a list.
  Form1& window = form;
  ASSERT_NO_THROW(window.Form_Load());
  const QTreeWidgetItem* root = Ctl(window).TreeView1->topLevelItem(0);
  ASSERT_NE(root, nullptr);
  ASSERT_GT(Leaves(), 0);
  int opened = 0;
  for (int c = 0; c < root->childCount(); ++c) {
    for (int k = 0; k < root->child(c)->childCount() && k < 10; ++k) {
      QTreeWidgetItem* leaf = root->child(c)->child(k);
      SCOPED_TRACE(leaf->text(0).toStdString());
      ASSERT_TRUE(OpenLeaf(leaf));
      ++opened;
    }
  }
  EXPECT_GT(opened, 0);
}

}  // namespace
}  // namespace faults
