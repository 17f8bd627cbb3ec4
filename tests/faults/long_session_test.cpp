// SPDX-License-Identifier: GPL-3.0-or-later
// A long session in the real window against the local portal: hundreds of channel clicks and
// headline opens, with slow, stalled, missing, oversized, dropped and garbage answers mixed in.
// After every operation the event loop must still turn, and every list and page must end in
// a defined state. LANGXING_FAULT_CLICKS and LANGXING_FAULT_OPENS set the counts (smaller by
// default, to keep the suite quick); the figures of the run are printed at the end.
#include <QUrl>
#include <QWebEngineProfile>
#include <chrono>
#include <iostream>
#include <map>

#include "app/article_view.hpp"
#include "app/written_page.hpp"
#include "tests/faults/fault_window.hpp"
#include "tests/support/window_controls.hpp"
#include "tests/webview/view_harness.hpp"

namespace faults {
namespace {

using langxing::testportal::Page;

const QString FailureText = QStringLiteral("抱歉，本文获取失败！可以访问原始页");

// What a headline's article shows once opened: a piece of its text, or the failure page.
struct ArticleOutcome {
  QString text;
  bool failure = false;
  // A page that names the program is shown as it came, and its render leaves the status at
  // "状态：获取》》".
  bool asItCame = false;
};

class LongSessionTest : public FaultWindowTest {
 protected:
  LongSessionTest() {
    // The UTF-8 listing's articles, which the portal does not otherwise have, each fail in
    // their own way, bar one that answers slowly but in time.
    portal.SetPage("http://news.sina.com.cn/c/2010-05-01/utf8_1.shtml",
                   Page{.body = {}, .behaviour = Page::Behaviour::Stall});
    portal.SetPage("http://news.sina.com.cn/c/2010-05-01/utf8_2.shtml",
                   Page{.body = {}, .behaviour = Page::Behaviour::Oversized});
    Page dropped = *portal.PageFor("http://news.sina.com.cn/c/2010-05-01/083020191234.shtml");
    dropped.behaviour = Page::Behaviour::Close;
    portal.SetPage("http://news.sina.com.cn/c/2010-05-01/utf8_3.shtml", dropped);
    Page slow = *portal.PageFor("http://news.sina.com.cn/c/2010-05-01/083020191234.shtml");
    slow.delay = std::chrono::milliseconds(2000);
    portal.SetPage("http://news.sina.com.cn/c/2010-05-01/utf8_4.shtml", slow);
    // utf8_5 is not on the portal: a 404 page.

    controls.WebBrowser2->SetSilent(true);
    QObject::connect(controls.WebBrowser2, &QWebEngineView::loadFinished, &form, [this](bool ok) {
      if (ok) loaded.push_back(controls.WebBrowser2->url());
    });
  }

  static ArticleOutcome OutcomeOf(const std::u16string& address) {
    static const std::map<std::string, ArticleOutcome> outcomes = {
        {"http://news.sina.com.cn/c/2010-05-01/083020191234.shtml",
         {QStringLiteral("北京地铁四号线今天上午正式开通试运营")}},
        {"http://auto.sina.com.cn/news/2010-05-01/0812581234.shtml",
         {QStringLiteral("一款全新国产紧凑型轿车正式上市")}},
        {"http://blog.sina.com.cn/s/blog_4b0f52990100i7xz.html",
         {QStringLiteral("早上六点我就到了园区")}},
        {"http://news.sina.com.cn/c/2010-05-01/langxing.shtml",
         {QStringLiteral("一款名为“朗星快报”的新闻阅读软件"), false, true}},
        {"http://www.example.org/article.html",
         {QStringLiteral("The World Expo opened its gates")}},
        {"http://news.sina.com.cn/c/2010-05-01/utf8_4.shtml",
         {QStringLiteral("北京地铁四号线今天上午正式开通试运营")}},
    };
    const auto found = outcomes.find(langxing::Utf16ToUtf8(langxing::TrimSpaces(address)));
    if (found != outcomes.end()) return found->second;
    // The finance link (not on the portal), the article without its end marker, and the
    // stalled, oversized, dropped and missing UTF-8 listing articles.
    return {FailureText, true};
  }

  // Waits until the page written last has loaded in the article view.
  bool LatestWriteShows(std::size_t loadedBefore) {
    auto* pages = dynamic_cast<const WrittenPageHandler*>(
        controls.WebBrowser2->page()->profile()->urlSchemeHandler(WrittenPageScheme));
    if (pages == nullptr) return false;
    return QTest::qWaitFor(
        [&] {
          const QUrl shown = controls.WebBrowser2->url();
          if (!pages->IsLatest(shown)) return false;
          for (std::size_t i = loadedBefore; i < loaded.size(); ++i)
            if (loaded[i] == shown) return true;
          return false;
        },
        kWaitMs);
  }

  // Opens the headline in List2's row `row` with a mouse click and checks the render it runs.
  void OpenHeadline(int row, bool checkPage) {
    QListWidgetItem* item = controls.List2->item(row);
    ASSERT_NE(item, nullptr);
    const std::u16string entry = item->text().toStdU16String();
    SCOPED_TRACE(item->text().toStdString());
    const std::size_t writesBefore = writes.size();
    const std::size_t loadedBefore = loaded.size();
    controls.List2->scrollToItem(item);
    QTest::mouseClick(controls.List2->viewport(), Qt::LeftButton, Qt::NoModifier,
                      controls.List2->visualItemRect(item).center());
    // The download runs on; its texts and page come in when it has ended.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !form.RenderInFlight(); }, kWaitMs));

    std::vector<std::u16string> status;
    for (std::size_t i = writesBefore; i < writes.size(); ++i)
      if (writes[i].first == Form1::StatusPanel) status.push_back(writes[i].second);
    ASSERT_FALSE(status.empty());
    EXPECT_EQ(status.front(), U16("状态：获取》》"));
    EXPECT_EQ(status.back(), OutcomeOf(form.ArticleAddress()).asItCame ? U16("状态：获取》》")
                                                                       : U16("状态：空闲"));
    // The entries' links are quoted; most go through the portal's "url=" forwarder.
    const std::size_t forwarded = entry.find(u"url=");
    const std::u16string link = forwarded != std::u16string::npos
                                    ? entry.substr(forwarded + 4)
                                    : entry.substr(entry.find(u';') + 1);
    EXPECT_EQ(langxing::TrimSpaces(form.ArticleAddress()),
              langxing::TrimSpaces(langxing::ReplaceAll(link, u"\"", u"")));
    if (!checkPage) return;

    ASSERT_TRUE(LatestWriteShows(loadedBefore));
    const ArticleOutcome expected = OutcomeOf(form.ArticleAddress());
    const QString text = BodyText(*controls.WebBrowser2);
    if (expected.failure) {
      EXPECT_TRUE(text.startsWith(FailureText)) << text.left(200).toStdString();
    } else {
      EXPECT_TRUE(text.contains(expected.text)) << text.left(200).toStdString();
      EXPECT_FALSE(text.contains(FailureText));
    }
  }

  std::vector<QUrl> loaded;
};

TEST_F(LongSessionTest, ChannelClicksAndHeadlineOpensWithFailuresMixedIn) {
  const int clicks = CountFromEnvironment("LANGXING_FAULT_CLICKS", 150);
  const int opens = CountFromEnvironment("LANGXING_FAULT_OPENS", 50);
  const std::vector<Channel>& channels = Channels();
  const int rotation = static_cast<int>(channels.size());

  // Whether click i is waited for, and how many waited runs fill the list with headlines: the
  // opens are spread evenly over those runs.
  const auto waited = [&](int i) {
    const Channel& c = channels[static_cast<std::size_t>(i % rotation)];
    return !c.costly || (i / rotation) % 4 == 0;
  };
  int listsWithHeadlines = 0;
  for (int i = 0; i < clicks; ++i)
    listsWithHeadlines +=
        waited(i) && HasHeadlines(channels[static_cast<std::size_t>(i % rotation)]);

  const long residentBefore = ResidentKiB();
  const auto started = std::chrono::steady_clock::now();
  int clicksDone = 0;
  int opensDone = 0;
  int completedRuns = 0;
  int pagesChecked = 0;
  int listsFilled = 0;
  int normalTurn = 0;
  int utf8Turn = 0;
  // More clicks than asked for are made only when the opens are not yet all done.
  for (int i = 0; i < clicks || opensDone < opens; ++i) {
    const Channel& channel = channels[static_cast<std::size_t>(i % rotation)];
    SCOPED_TRACE(std::to_string(i) + " " + channel.name);
    Click(ChannelNode(channel));
    ++clicksDone;
    ASSERT_TRUE(LoopTurns());
    // Most clicks on slow and stalled channels are superseded at once by the next click; one
    // round in four waits for them.
    if (!waited(i)) continue;

    ASSERT_TRUE(WaitForIdle());
    ++completedRuns;
    // Superseded runs never complete: one completed run per waited click, no more.
    EXPECT_EQ(CompletedRuns(), completedRuns);
    ASSERT_EQ(ListItems(), EntriesOf(channel));
    ASSERT_TRUE(LoopTurns());

    if (!HasHeadlines(channel)) continue;
    ++listsFilled;
    const int due =
        listsFilled >= listsWithHeadlines ? opens : opens * listsFilled / listsWithHeadlines;
    while (opensDone < due) {
      const bool checkPage = opensDone % 10 == 9 || opensDone + 1 == opens;
      // Each listing's rows are opened in turn, so every kind of article comes up.
      int& turn = channel.listing == Listing::Utf8 ? utf8Turn : normalTurn;
      OpenHeadline(turn++ % controls.List2->count(), checkPage);
      if (HasFatalFailure()) return;
      ++opensDone;
      pagesChecked += checkPage;
      ASSERT_TRUE(LoopTurns());
    }
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  const long residentAfter = ResidentKiB();

  EXPECT_EQ(opensDone, opens);
  // Both listings' rows all came up once the opens were enough for it.
  if (opens >= 40) {
    EXPECT_GE(normalTurn, 7);
    EXPECT_GE(utf8Turn, 5);
  }
  EXPECT_GE(clicksDone, clicks);
  std::cout << "long session: " << clicksDone << " channel clicks (" << completedRuns
            << " waited for), " << opensDone << " headline opens (" << pagesChecked
            << " pages checked) in " << seconds << " s; VmRSS " << residentBefore << " KiB -> "
            << residentAfter << " KiB; longest gap between timer ticks " << longestTickGapMs
            << " ms over " << ticks << " ticks; opens by listing: " << normalTurn << " GBK, "
            << utf8Turn << " UTF-8\n";
  RecordProperty("clicks", clicksDone);
  RecordProperty("opens", opensDone);
  RecordProperty("rss_before_kib", static_cast<int>(residentBefore));
  RecordProperty("rss_after_kib", static_cast<int>(residentAfter));
}

}  // namespace
}  // namespace faults
