// SPDX-License-Identifier: GPL-3.0-or-later
// Opening headlines in the article view and rendering them again, end to end: the real window,
// the real article view and the program's HTTP client against the local portal.
#include <QApplication>
#include <QCheckBox>
#include <QScrollBar>
#include <QTabBar>
#include <QTreeWidget>

#include "app/tab_strip.hpp"
#include "tests/app/reader_harness.hpp"
#include "tests/support/form1_access.hpp"
#include "tests/support/window_controls.hpp"

namespace {

using langxing::testportal::Page;
using langxing::testportal::ToGbk;

class ReaderTest : public ReaderHarness {};

struct ArticleCase {
  const char* name;
  std::u16string entry;
  QString expectedText;  // a piece of the article's text
  QString headingSelector;
  QString expectedHeading;
};

TEST_F(ReaderTest, ClickedHeadlineShowsItsArticleInTheReaderPage) {
  const std::vector<ArticleCase> cases = {
      {"general news", NewsEntry, QStringLiteral("北京地铁四号线今天上午正式开通试运营"),
       QStringLiteral("h3"), QStringLiteral("北京地铁四号线今日起试运营")},
      {"auto section", AutoEntry, QStringLiteral("一款全新国产紧凑型轿车正式上市"),
       QStringLiteral("h3"), QStringLiteral("新款国产轿车正式上市 售价公布")},
      {"blog, title from the page's title element", BlogEntry,
       QStringLiteral("早上六点我就到了园区"), QStringLiteral("center strong"),
       QStringLiteral("志愿者日记：我在世博园的第一天_朗月的博客_新浪博客")},
  };
  for (const ArticleCase& c : cases) {
    SCOPED_TRACE(c.name);
    statusTexts.clear();
    QListWidgetItem* item = AddHeadline(c.entry);
    ASSERT_TRUE(ShowsWrite([&] { form.List2_Click(item); }));

    EXPECT_EQ(statusTexts, RenderStatusTexts);
    const QString text = Script(QStringLiteral("document.body.innerText"));
    EXPECT_TRUE(text.contains(c.expectedText)) << text.left(300).toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("文章来源于新浪网访问原始页")));
    EXPECT_EQ(Script(QStringLiteral("(document.querySelector('%1') || {}).innerText")
                         .arg(c.headingSelector)),
              c.expectedHeading);
    EXPECT_EQ(BodyStyle(), QStringLiteral("font-size:14px;"));
    // The source line links to the article itself.
    EXPECT_TRUE(Script(QStringLiteral("document.querySelector('a[target=_blank]').href"))
                    .startsWith(QStringLiteral("http://")));
  }
  EXPECT_EQ(QString::fromStdU16String(form.ArticleAddress()),
            QStringLiteral("http://blog.sina.com.cn/s/blog_4b0f52990100i7xz.html "));
}

TEST_F(ReaderTest, MouseClickAndEnterOpenAHeadlineOnceEach) {
  ASSERT_TRUE(form.SelectTab(u"新闻标题"));
  QListWidgetItem* news = AddHeadline(NewsEntry);
  QListWidgetItem* autoItem = AddHeadline(AutoEntry);
  QWidget* viewport = controls.List2->viewport();

  ASSERT_TRUE(ShowsWrite([&] {
    QTest::mouseClick(viewport, Qt::LeftButton, {}, controls.List2->visualItemRect(news).center());
  }));
  EXPECT_EQ(form.ArticleAddress(), NewsUrl);
  EXPECT_EQ(Renders(), 1);

  controls.List2->setFocus();
  controls.List2->setCurrentItem(autoItem);
  ASSERT_TRUE(ShowsWrite([&] { QTest::keyClick(controls.List2, Qt::Key_Return); }));
  EXPECT_TRUE(Script(QStringLiteral("document.body.innerText"))
                  .contains(QStringLiteral("一款全新国产紧凑型轿车正式上市")));
  EXPECT_EQ(Renders(), 2);

  // A double click opens the article once, not once for the click and again for the double click.
  // (Press and release, then the second press that arrives as a double click, and its release.)
  statusTexts.clear();
  const QPoint newsAt = controls.List2->visualItemRect(news).center();
  QTest::mouseClick(viewport, Qt::LeftButton, {}, newsAt);
  QTest::mouseDClick(viewport, Qt::LeftButton, {}, newsAt);
  QTest::mouseRelease(viewport, Qt::LeftButton, {}, newsAt);
  Settle();
  EXPECT_EQ(Renders(), 1);
  EXPECT_EQ(form.ArticleAddress(), NewsUrl);
}

TEST_F(ReaderTest, SwitchingTabsLeavesTheArticleWhereTheReaderLeftIt) {
  form.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  // A long article with the link to its page at the very end.
  std::u16string page = u"<body>";
  for (int i = 0; i < 300; ++i) page += u"<p>北京地铁四号线今天上午正式开通试运营。</p>";
  page += u"<a href='http://news.sina.com.cn/' target='_blank'>访问原始页</a></body>";
  ASSERT_TRUE(ShowsWrite([&] { View().WriteDocument(page, NewsUrl); }));
  const auto scrolled = [&] { return Script(QStringLiteral("String(window.scrollY)")); };
  ASSERT_EQ(scrolled(), QStringLiteral("0"));

  QTabBar* tabs = controls.TabStrip1->Bar();
  struct Case {
    const char* name;
    QWidget* clicked;  // in the settings pane
    QWidget* focusAfter;
    int tab;  // the tab clicked then
  };
  for (const Case& c :
       {Case{"check box, then the headlines", controls.Check2, controls.List2, 1},
        Case{"scroll bar, then the catalog", controls.HScroll2, controls.TreeView1, 0}}) {
    SCOPED_TRACE(c.name);
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(2).center());
    QTest::mouseClick(c.clicked, Qt::LeftButton, {}, QPoint(c.clicked->width() / 2, 5));
    ASSERT_TRUE(c.clicked->hasFocus());
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(c.tab).center());
    Settle();
    EXPECT_EQ(QApplication::focusWidget(), c.focusAfter);
    EXPECT_EQ(scrolled(), QStringLiteral("0"));
  }
}

TEST_F(ReaderTest, ItemsWithoutAnArticleAddressOpenNothing) {
  Form1Access::SetArticleUrl(form, NewsUrl);
  const std::vector<std::u16string> items = {
      std::u16string(langxing::ApologyLine),
      u"没有地址的标题;",
      u"没有分号的一行",
  };
  for (const std::u16string& entry : items) {
    form.List2_Click(AddHeadline(entry));
    EXPECT_EQ(form.ArticleAddress(), NewsUrl) << QString::fromStdU16String(entry).toStdString();
  }
  form.List2_Click(nullptr);
  Settle();
  EXPECT_TRUE(statusTexts.empty());
}

TEST_F(ReaderTest, DirectLinkWithoutUrlParameterOpensTheLink) {
  portal.SetPage(
      "http://news.sina.com.cn/direct.shtml",
      Page{.body = ToGbk("<!-- 内容列 begin --><p>直接链接的文章</p><!-- publish_helper_end -->")});
  QListWidgetItem* item = AddHeadline(u"直接链接;\"http://news.sina.com.cn/direct.shtml\" ");
  ASSERT_TRUE(ShowsWrite([&] { form.List2_Click(item); }));
  EXPECT_EQ(form.ArticleAddress(), u"http://news.sina.com.cn/direct.shtml");
  EXPECT_TRUE(
      Script(QStringLiteral("document.body.innerText")).contains(QStringLiteral("直接链接的文章")));
}

TEST_F(ReaderTest, FontSizeChangeBeforeAnyArticleShowsTheFailurePageWithAnEmptyLink) {
  ASSERT_TRUE(ShowsWrite([&] { controls.HScroll1->setValue(20); }));
  EXPECT_EQ(statusTexts, RenderStatusTexts);
  EXPECT_EQ(
      Script(QStringLiteral("document.body.innerText")),
      QStringLiteral("抱歉，本文获取失败！可以访问原始页\n\n文章来源于新浪网访问原始页 重试"));
  EXPECT_EQ(Script(QStringLiteral("getComputedStyle(document.body).fontSize")),
            QStringLiteral("20px"));
  EXPECT_EQ(Script(QStringLiteral("document.querySelector('a').getAttribute('href')")), QString());
  EXPECT_TRUE(form.ArticleAddress().empty());
}

TEST_F(ReaderTest, OptionsApplyAtTheNextRenderOfTheSameArticle) {
  ASSERT_TRUE(ShowsWrite([&] { form.List2_Click(AddHeadline(NewsEntry)); }));
  const QString imagesShown = QStringLiteral(
      "Array.from(document.images).filter(i => getComputedStyle(i).display != 'none')"
      ".map(i => i.getAttribute('src')).join(' ')");
  EXPECT_EQ(Script(imagesShown).count(QStringLiteral("sinaimg")), 3);

  // Ticking the options alone renders nothing.
  statusTexts.clear();
  controls.Check1->setChecked(false);
  controls.Check2->setChecked(false);
  Settle(200);
  EXPECT_TRUE(statusTexts.empty());

  // The next font size change renders the same article at the new size, images hidden; an
  // image tag written in capitals is left as it is.
  portal.ClearRequests();
  ASSERT_TRUE(ShowsWrite([&] { controls.HScroll1->setValue(22); }));
  Settle();
  // No picture is fetched at all, not even the one the rewrite leaves visible.
  for (const std::string& url : portal.Requests())
    EXPECT_EQ(url.find("sinaimg"), std::string::npos) << url;
  EXPECT_EQ(form.ArticleAddress(), NewsUrl);
  EXPECT_EQ(BodyStyle(), QStringLiteral("font-size:22px;"));
  EXPECT_EQ(Script(imagesShown),
            QStringLiteral(
                "http://i1.sinaimg.cn/dy/c/2010-05-01/U2010P1T1D20191234F23DT20100501083012.JPG"));
  EXPECT_EQ(Script(QStringLiteral("document.images.length")).toInt(), 3);
  const QString players = QStringLiteral(
      "Array.from(document.querySelectorAll('span')).filter(s => s.querySelector('embed'))"
      ".map(s => getComputedStyle(s).display).join()");
  EXPECT_EQ(Script(players), QStringLiteral("none"));
  EXPECT_EQ(Script(QStringLiteral("getComputedStyle(document.body).fontSize")),
            QStringLiteral("22px"));

  // A partly ticked box counts as ticked.
  controls.Check1->setTristate(true);
  controls.Check1->setCheckState(Qt::PartiallyChecked);
  EXPECT_EQ(form.CurrentReaderSettings().showImages, 2);
  ASSERT_TRUE(ShowsWrite([&] { form.ReloadArticle(); }));
  EXPECT_EQ(Script(imagesShown).count(QStringLiteral("sinaimg")), 3);
}

TEST_F(ReaderTest, PortalTitleInTheViewRendersThatPageOnceAndOtherTitlesChangeNothing) {
  const std::string base = "http://127.0.0.1:" + std::to_string(portal.Port());
  portal.SetPage(
      base + "/other.html",
      Page{.body = ToGbk("<html><head><title>别的网站</title></head><body>别处</body></html>")});
  portal.SetPage(base + "/portal.html",
                 Page{.body = ToGbk("<html><head><title>新浪网首页</title></head>"
                                    "<body><p>门户的首页</p></body></html>")});
  Form1Access::SetArticleUrl(form, NewsUrl);

  QSignalSpy loaded(&View(), &QWebEngineView::loadFinished);
  View().Navigate(QString::fromStdString(base + "/other.html").toStdU16String());
  ASSERT_TRUE(WaitForLoad(loaded));
  ASSERT_TRUE(
      QTest::qWaitFor([&] { return View().title() == QStringLiteral("别的网站"); }, kWaitMs));
  Settle();
  EXPECT_TRUE(statusTexts.empty());
  EXPECT_EQ(form.ArticleAddress(), NewsUrl);
  EXPECT_EQ(Script(QStringLiteral("document.body.innerText")), QStringLiteral("别处"));

  // The portal page is downloaded and rendered into the reader page, which then shows; its own
  // title (carried into the reader page) does not start the render over again.
  const std::u16string portalPage = QString::fromStdString(base + "/portal.html").toStdU16String();
  ASSERT_TRUE(ShowsWrite([&] { View().Navigate(portalPage); }));
  EXPECT_EQ(form.ArticleAddress(), portalPage);
  EXPECT_TRUE(
      Script(QStringLiteral("document.body.innerText")).contains(QStringLiteral("门户的首页")));
  EXPECT_EQ(BodyStyle(), QStringLiteral("font-size:14px;"));
  Settle(1500);
  EXPECT_EQ(statusTexts, RenderStatusTexts);
}

TEST_F(ReaderTest, ArticleOfMoreThanThreeMegabytesShows) {
  QListWidgetItem* item = AddHeadline(
      u"大文章;\"http://go.sina.com.cn/?url=http://news.sina.com.cn/c/2010-05-01/big.shtml\" ");
  // The renderer takes seconds to parse it (7 to 8 s here, more beside a build); working, it is
  // not taken for hung and ended. How long it takes is measured in the benchmarks.
  QSignalSpy ended(View().page(), &QWebEnginePage::renderProcessTerminated);
  ASSERT_TRUE(ShowsWrite([&] { form.List2_Click(item); }, 4 * kWaitMs));
  EXPECT_EQ(ended.size(), 0);
  EXPECT_EQ(statusTexts, RenderStatusTexts);
  EXPECT_GT(Script(QStringLiteral("String(document.body.innerText.length)")).toLongLong(),
            1'000'000);
  EXPECT_TRUE(Script(QStringLiteral("document.body.innerText.slice(-200)"))
                  .endsWith(QStringLiteral("文章来源于新浪网访问原始页")));
}

TEST_F(ReaderTest, DownloadFailuresShowTheFailurePageWithTheArticleLink) {
  const std::vector<std::pair<const char*, std::u16string>> cases = {
      {"error status",
       u"x;\"http://go.sina.com.cn/?url=http://news.sina.com.cn/c/2010-05-01/gone.shtml\""},
      {"connection dropped",
       u"x;\"http://go.sina.com.cn/?url=http://news.sina.com.cn/c/2010-05-01/close.shtml\""},
      {"no end marker",
       u"x;\"http://go.sina.com.cn/?url=http://news.sina.com.cn/c/2010-05-01/no_end.shtml\""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.first);
    statusTexts.clear();
    ASSERT_TRUE(ShowsWrite([&] { form.List2_Click(AddHeadline(c.second)); }));
    EXPECT_EQ(statusTexts, RenderStatusTexts);
    EXPECT_TRUE(Script(QStringLiteral("document.body.innerText"))
                    .startsWith(QStringLiteral("抱歉，本文获取失败！可以访问原始页")));
    EXPECT_EQ(Script(QStringLiteral("document.querySelector('a').getAttribute('href')")),
              QString::fromStdU16String(form.ArticleAddress()));
  }
}

TEST_F(ReaderTest, TheFailurePagesRetryLinkDownloadsTheArticleAgain) {
  const std::string url = "http://news.sina.com.cn/c/2010-05-01/later.shtml";
  const std::u16string entry = u"x;url=" + langxing::Utf8ToUtf16(url);
  ASSERT_TRUE(ShowsWrite([&] { form.List2_Click(AddHeadline(entry)); }));
  ASSERT_TRUE(Script(QStringLiteral("document.body.innerText")).contains(QStringLiteral("重试")));

  // The page has come since; the link beside 访问原始页 reads it, as a user clicks it.
  portal.SetPage(url, Page{.body = ToGbk("<!-- 内容列 begin --><p>后来的文章</p>"
                                         "<!-- publish_helper_end -->")});
  const QVariantList xy =
      RunScript(View(), QStringLiteral("(function(){var r=document.querySelectorAll('a')[1]"
                                       ".getBoundingClientRect();"
                                       "return [r.left + r.width / 2, r.top + r.height / 2];})()"))
          .toList();
  ASSERT_EQ(xy.size(), 2);
  const QPoint point(qRound(xy[0].toDouble()), qRound(xy[1].toDouble()));
  QWidget* target = View().focusProxy() != nullptr ? View().focusProxy() : &View();
  statusTexts.clear();
  ASSERT_TRUE(ShowsWrite([&] {
    QTest::mouseMove(target, point);
    QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, point);
  }));
  EXPECT_EQ(statusTexts, RenderStatusTexts);
  EXPECT_TRUE(
      Script(QStringLiteral("document.body.innerText")).contains(QStringLiteral("后来的文章")));
}

}  // namespace

// An article the local portal answers only after a delay, so a render is still in flight
// while the test acts on the window.
class SlowArticleTest : public ReaderHarness {
 protected:
  static constexpr char SlowArticle[] = "http://news.sina.com.cn/c/2010-05-01/slow.shtml";

  SlowArticleTest() {
    std::optional<Page> article =
        portal.PageFor("http://news.sina.com.cn/c/2010-05-01/083020191234.shtml");
    if (article) {
      article->delay = std::chrono::milliseconds(1500);
      portal.SetPage(SlowArticle, *article);
    }
  }

  QListWidgetItem* AddSlowHeadline() {
    return AddHeadline(u"慢;\"http://go.sina.com.cn/?url=" +
                       QString::fromLatin1(SlowArticle).toStdU16String() + u"\"");
  }

  int RequestsOf(const std::string& url) const {
    int count = 0;
    for (const std::string& request : portal.Requests()) count += request == url;
    return count;
  }

  // The slow article is downloading and its first status text has been shown.
  bool SlowRenderStarted() {
    return QTest::qWaitFor([&] { return RequestsOf(SlowArticle) > 0 && !statusTexts.empty(); },
                           kWaitMs);
  }

  static bool BusyPointer() {
    const QCursor* cursor = QGuiApplication::overrideCursor();
    return cursor != nullptr && cursor->shape() == Qt::BusyCursor;
  }
};

TEST_F(SlowArticleTest, TheWindowAnswersDuringTheDownloadAndWritesThePageAfterIt) {
  ASSERT_TRUE(portal.PageFor(SlowArticle).has_value());
  QListWidgetItem* slow = AddSlowHeadline();
  form.List2_Click(slow);
  ASSERT_TRUE(SlowRenderStarted());
  // The click has returned while the download goes on: timers run, the pointer is busy and
  // the status bar says the article is being fetched.
  int ticks = 0;
  QTimer ticker;
  QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
  ticker.start(20);
  Settle(300);
  EXPECT_TRUE(form.RenderInFlight());
  EXPECT_GT(ticks, 3);
  EXPECT_TRUE(BusyPointer());
  EXPECT_EQ(statusTexts, std::vector<std::u16string>{u"状态：获取》》"});

  ASSERT_TRUE(QTest::qWaitFor([&] { return !form.RenderInFlight(); }, kWaitMs));
  EXPECT_EQ(statusTexts, RenderStatusTexts);
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
  ASSERT_TRUE(QTest::qWaitFor(
      [&] {
        return Script(QStringLiteral("document.body ? document.body.innerText : ''"))
            .contains(QStringLiteral("北京地铁四号线今天上午正式开通试运营"));
      },
      kWaitMs));
}

TEST_F(SlowArticleTest, ANewerRequestSupersedesTheOneInFlight) {
  struct Case {
    const char* name;
    std::function<void()> newer;
    std::vector<std::u16string> texts;  // every status text after the slow render's first
  };
  const std::vector<Case> cases = {
      {"headline click", [&] { form.List2_Click(AddHeadline(NewsEntry)); }, RenderStatusTexts},
      {"swatch press",
       [&] {
         form.Swatch_MouseDown(controls.Picture3);
         form.Swatch_MouseUp(controls.Picture3);
       },
       RenderStatusTexts},
      {"font size", [&] { controls.HScroll1->setValue(controls.HScroll1->value() + 1); },
       RenderStatusTexts},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Form1Access::SetArticleUrl(form, NewsUrl);
    statusTexts.clear();
    form.List2_Click(AddSlowHeadline());
    ASSERT_TRUE(SlowRenderStarted());
    ASSERT_TRUE(ShowsWrite(c.newer));
    // The slow page arrives later and is never written; its render writes no more texts.
    Settle(1800);
    std::vector<std::u16string> expected{u"状态：获取》》"};
    expected.insert(expected.end(), c.texts.begin(), c.texts.end());
    EXPECT_EQ(statusTexts, expected);
    EXPECT_TRUE(Script(QStringLiteral("document.body.innerText"))
                    .contains(QStringLiteral("北京地铁四号线今天上午正式开通试运营")));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    portal.ClearRequests();
  }
}

TEST_F(SlowArticleTest, QuickFontSizeStepsGiveOneDownloadAtTheLastValue) {
  Form1Access::SetArticleUrl(form, QString::fromLatin1(SlowArticle).toStdU16String());
  ASSERT_TRUE(ShowsWrite([&] {
    // Three steps of the arrow key, as a user holding it down would make them.
    controls.HScroll1->setFocus();
    for (int i = 0; i < 3; ++i) {
      QTest::keyClick(controls.HScroll1, Qt::Key_Right);
      QTest::qWait(50);
    }
  }));
  EXPECT_EQ(RequestsOf(SlowArticle), 1);
  EXPECT_EQ(BodyStyle(), QStringLiteral("font-size:17px;"));
  EXPECT_EQ(Renders(), 1);
}

TEST_F(SlowArticleTest, EscapeAndClosingGiveTheRenderUpAndTheViewKeepsItsPage) {
  ASSERT_TRUE(ShowsWrite([&] { form.List2_Click(AddHeadline(NewsEntry)); }));
  const QUrl shown = View().url();
  struct Case {
    const char* name;
    std::function<void()> giveUp;
    bool idleText;  // the status then reads "状态：空闲"
  };
  const std::vector<Case> cases = {
      {"Escape", [&] { QTest::keyClick(controls.List2, Qt::Key_Escape); }, true},
      {"close", [&] { form.close(); }, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    form.show();
    statusTexts.clear();
    form.List2_Click(AddSlowHeadline());
    ASSERT_TRUE(SlowRenderStarted());
    c.giveUp();
    EXPECT_FALSE(form.RenderInFlight());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    const std::vector<std::u16string> texts =
        c.idleText ? std::vector<std::u16string>{u"状态：获取》》", u"状态：空闲"}
                   : std::vector<std::u16string>{u"状态：获取》》"};
    Settle(1800);
    EXPECT_EQ(View().url(), shown);
    EXPECT_EQ(statusTexts, texts);
    portal.ClearRequests();
  }
}
