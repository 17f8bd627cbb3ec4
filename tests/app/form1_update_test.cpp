// SPDX-License-Identifier: GPL-3.0-or-later
// The update notice: Timer1 starts the check, the announcement page decides, an outdated
// version is reported, the download page opened on request (only a plain http(s) address),
// and the program ends.
#include <gmock/gmock.h>

#include <QProcess>

#include "core/portal.hpp"
#include "tests/support/form1_access.hpp"
#include "tests/support/news_window_harness.hpp"
#include "tests/support/window_controls.hpp"
#include "update/announcement.hpp"

namespace newswindow {
namespace {

const std::string AnnouncementBase = "http://blog.sina.com.cn/s/langxing_update";
const std::u16string DownloadPage = U16("http://blog.sina.com.cn/s/langxing_download.html");
const std::u16string ReleasedMessage = U16("朗星快报1.2正式发布，欢迎使用");

using Writes = std::vector<std::pair<int, std::u16string>>;

class UpdateNoticeTest : public NewsWindowTest {
 protected:
  UpdateNoticeTest() {
    auto handler = Form1Access::UpdateView(form).DocumentComplete;
    Form1Access::UpdateView(form).DocumentComplete = [this, handler] {
      ++completions;
      handler();
    };
  }

  // Makes the program's announcement address serve the variant page `suffix`.
  void Announce(const std::string& suffix) {
    portal.SetPage(langxing::Utf16ToUtf8(langxing::UpdatePageUrl),
                   *portal.PageFor(AnnouncementBase + suffix + ".html"));
  }

  bool WaitForCompletions(int count) {
    return QTest::qWaitFor([&] { return completions >= count; }, 8000);
  }

  int completions = 0;
};

struct Variant {
  const char* suffix;
  bool upToDate;
  std::u16string message;
  std::vector<std::u16string> opened;  // with OK pressed
};

void PrintTo(const Variant& v, std::ostream* out) { *out << "announcement" << v.suffix; }

class UpdateVerdictTest : public UpdateNoticeTest, public testing::WithParamInterface<Variant> {};

TEST_P(UpdateVerdictTest, AnnouncedVersionDecides) {
  const Variant& v = GetParam();
  Announce(v.suffix);
  controls.Timer1->start();
  form.Timer1_Timer();
  EXPECT_FALSE(controls.Timer1->isActive());
  // The announcement, then the empty page the view is left on.
  ASSERT_TRUE(WaitForCompletions(2));
  EXPECT_FALSE(Form1Access::UpdateCheckPending(form));
  EXPECT_EQ(Form1Access::UpdateView(form).LocationURL(), u"about:blank");

  if (v.upToDate) {
    EXPECT_EQ(writes, (Writes{{4, U16("状态：检查版本。。。")},
                              {2, v.message},
                              {1, U16("目前是最新版")},
                              {4, U16("状态：空闲")}}));
    EXPECT_TRUE(box.shown.empty());
    EXPECT_EQ(endings, 0);
    EXPECT_TRUE(controls.Timer2->isActive());
    // A later completion of the announcement changes nothing.
    Form1Access::UpdateView(form).Navigate(std::u16string(langxing::UpdatePageUrl));
    ASSERT_TRUE(WaitForCompletions(3));
    EXPECT_EQ(writes.size(), 4u);
    EXPECT_EQ(form.PanelText(1), U16("目前是最新版"));
    return;
  }
  EXPECT_EQ(writes, (Writes{{4, U16("状态：检查版本。。。")}, {2, v.message}}));
  ASSERT_EQ(box.shown.size(), 1u);
  EXPECT_EQ(box.shown[0].text, langxing::OutdatedMessage);
  EXPECT_EQ(box.shown[0].style, langxing::MessageBoxOkCancel);
  EXPECT_EQ(opener.opened, v.opened);
  EXPECT_EQ(endings, 1);
  EXPECT_TRUE(form.Ending());
  EXPECT_FALSE(controls.Timer2->isActive());
}

INSTANTIATE_TEST_SUITE_P(
    Announcements, UpdateVerdictTest,
    testing::Values(Variant{"", true, ReleasedMessage, {}},
                    Variant{"_spaced", true, ReleasedMessage, {}},
                    Variant{
                        "_newer", false, U16("朗星快报1.3已发布，修正了若干问题"), {DownloadPage}},
                    Variant{"_1_20", false, ReleasedMessage, {DownloadPage}},
                    Variant{"_linebreak", false, ReleasedMessage, {DownloadPage}},
                    // The only <beta> stands after "</new>".
                    Variant{"_beta_outside", false, U16("朗星快报1.2正式发布"), {DownloadPage}},
                    // No "</new>": message and address are empty; there is nothing to open.
                    Variant{"_unclosed", false, u"", {}},
                    // "x & rm -rf ~" is no address: it is never handed on.
                    Variant{"_hostile", false, U16("请立即更新"), {}}),
    [](const testing::TestParamInfo<Variant>& info) {
      const std::string suffix = info.param.suffix;
      return suffix.empty() ? std::string("current") : suffix.substr(1);
    });

TEST_F(UpdateNoticeTest, CancelOpensNothingAndStillEnds) {
  if (!langxing::UpdateCheckEnabled) GTEST_SKIP() << "built without the update check";
  Announce("_newer");
  box.answer = langxing::MessageBoxResultCancel;
  form.Timer1_Timer();
  ASSERT_TRUE(QTest::qWaitFor([&] { return endings > 0; }, 8000));
  EXPECT_EQ(box.shown.size(), 1u);
  EXPECT_TRUE(opener.opened.empty());
  EXPECT_EQ(endings, 1);
}

TEST_F(UpdateNoticeTest, TheNoticeAndTheEndingComeWhileAnArticleDownloads) {
  if (!langxing::UpdateCheckEnabled) GTEST_SKIP() << "built without the update check";
  langxing::testportal::Page slow =
      *portal.PageFor("http://news.sina.com.cn/c/2010-05-01/083020191234.shtml");
  slow.delay = std::chrono::milliseconds(4000);
  portal.SetPage("http://news.sina.com.cn/c/2010-05-01/slow.shtml", slow);
  bool downloadingAtTheEnd = false;
  form.SetProgramEnder([&] {
    ++endings;
    downloadingAtTheEnd = form.RenderInFlight();
  });
  Form1Access::SetArticleUrl(form, U16("http://news.sina.com.cn/c/2010-05-01/slow.shtml"));
  form.ReloadArticle();
  Announce("_newer");
  form.Timer1_Timer();
  ASSERT_TRUE(QTest::qWaitFor([&] { return endings > 0; }, 3500));
  EXPECT_TRUE(downloadingAtTheEnd);
  EXPECT_EQ(box.shown.size(), 1u);
  EXPECT_EQ(opener.opened, std::vector<std::u16string>{DownloadPage});
}

TEST_F(UpdateNoticeTest, NothingRunsOnceTheProgramEnds) {
  if (!langxing::UpdateCheckEnabled) GTEST_SKIP() << "built without the update check";
  Announce("_newer");
  form.Timer1_Timer();
  ASSERT_TRUE(QTest::qWaitFor([&] { return endings > 0; }, 8000));
  writes.clear();

  QTreeWidgetItem* channel = Node({"朗星快报", "新闻中心", "国内新闻"});
  ASSERT_NE(channel, nullptr);
  controls.TreeView1->setCurrentItem(channel);
  form.TreeView1_NodeClick();
  form.WebBrowser1_DocumentComplete();
  form.Timer1_Timer();
  Form1Access::SetUpdateCheckPending(form, true);
  form.WebBrowser3_DocumentComplete();
  QTest::qWait(300);
  EXPECT_TRUE(writes.empty());
  EXPECT_EQ(box.shown.size(), 1u);
  EXPECT_EQ(endings, 1);
  EXPECT_TRUE(Form1Access::HeadlineView(form).LocationURL().empty());
}

TEST_F(UpdateNoticeTest, PageWithoutTheBlockLeavesTheCheckWaiting) {
  if (!langxing::UpdateCheckEnabled) GTEST_SKIP() << "built without the update check";
  langxing::testportal::Page notFound;
  notFound.status = 404;
  notFound.body = "<html><body>&lt;beta&gt;1.3&lt;/beta&gt; not found</body></html>";
  const std::pair<const char*, langxing::testportal::Page> pages[] = {
      {"no block", *portal.PageFor(AnnouncementBase + "_no_block.html")},
      {"404", notFound},
  };
  for (const auto& [name, page] : pages) {
    SCOPED_TRACE(name);
    portal.SetPage(langxing::Utf16ToUtf8(langxing::UpdatePageUrl), page);
    writes.clear();
    const int before = completions;
    form.Timer1_Timer();
    ASSERT_TRUE(WaitForCompletions(before + 1));
    QTest::qWait(100);
    EXPECT_EQ(writes, (Writes{{4, U16("状态：检查版本。。。")}}));
    EXPECT_TRUE(Form1Access::UpdateCheckPending(form));
    EXPECT_TRUE(box.shown.empty());
    EXPECT_EQ(endings, 0);
    EXPECT_EQ(form.PanelText(2), u"");
  }
}

TEST_F(UpdateNoticeTest, Timer1StartsTheCheckOnce) {
  Announce("");
  controls.Timer1->setInterval(10);
  controls.Timer1->start();
  if (!langxing::UpdateCheckEnabled) {
    // A build without the update check: the timer fires once and nothing is read.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !controls.Timer1->isActive(); }, 8000));
    QTest::qWait(300);
    EXPECT_EQ(completions, 0);
    EXPECT_THAT(WritesTo(4), testing::Not(testing::Contains(U16("状态：检查版本。。。"))));
    return;
  }
  ASSERT_TRUE(QTest::qWaitFor([&] { return form.PanelText(1) == U16("目前是最新版"); }, 8000));
  EXPECT_FALSE(controls.Timer1->isActive());
  QTest::qWait(100);
  const std::vector<std::u16string> status = WritesTo(4);
  EXPECT_EQ(std::count(status.begin(), status.end(), U16("状态：检查版本。。。")), 1);
}

}  // namespace
}  // namespace newswindow

namespace newswindow {
namespace {

// Leaving the event loop marks the whole thread as quitting, so the default ender is tried in
// a process of its own: the window as main() runs it, told it is outdated, Cancel pressed.
TEST(UpdateNoticeEnding, ProgramEndsWithStatusZeroAfterTheNotice) {
  if (!langxing::UpdateCheckEnabled) GTEST_SKIP() << "built without the update check";
  QProcess probe;
  probe.start(QStringLiteral(LANGXING_ENDING_PROBE), {});
  ASSERT_TRUE(probe.waitForFinished(30000)) << probe.readAllStandardError().toStdString();
  EXPECT_EQ(probe.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(probe.exitCode(), 0) << probe.readAllStandardError().toStdString();
}

}  // namespace
}  // namespace newswindow
