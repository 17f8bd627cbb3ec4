// SPDX-License-Identifier: GPL-3.0-or-later
// The article view on a real browser engine, offscreen, against a local HTTP server.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFontDatabase>
#include <QLocale>
#include <QMenu>
#include <QTimer>
#include <QWidget>
#include <csignal>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "app/address_opener.hpp"
#include "app/program.hpp"
#include "tests/portal/test_portal.hpp"
#include "tests/webview/served_pages.hpp"
#include "view_harness.hpp"

namespace {

class RecordingOpener final : public AddressOpener {
 public:
  bool Open(const std::u16string& address) override {
    opened.push_back(QString::fromStdU16String(address));
    return true;
  }
  std::vector<QString> opened;
};

class ArticleViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    server.Start();
    view.resize(900, 700);
    view.show();
    view.SetSilent(true);
    view.SetAddressOpener(&opener);
    view.TitleChange = [this](const std::u16string& title) {
      titles.push_back(QString::fromStdU16String(title));
    };
  }

  // Whether the body the view shows is the body of html, as the engine parses it.
  bool ShowsBodyOf(const QString& html) {
    return RunScript(view, QStringLiteral("new DOMParser().parseFromString(%1, 'text/html')"
                                          ".body.innerHTML === document.body.innerHTML")
                               .arg(ScriptString(html)))
        .toBool();
  }

  LoopbackServer server;
  RecordingOpener opener;
  ArticleView view;
  std::vector<QString> titles;
};

// A reader page as the window writes it: a body with colour and size, then the source line.
QString ReaderPage(const QString& text, const QString& source) {
  return QStringLiteral("<body style='background-color: 0;font-size:14px;'><p>") + text +
         QStringLiteral("</p></body><br /><hr /><center> 文章来源于新浪网<a id='source' href='") +
         source + QStringLiteral("' target='_blank' >访问原始页</a></center>");
}

TEST_F(ArticleViewTest, WrittenPageIsShownExactlyAndReplacesThePreviousOne) {
  // The <meta> names another charset: the written text is already decoded and must stay so.
  const QString first = QStringLiteral(
      "<html><head><meta http-equiv='Content-Type' content='text/html; charset=gb2312'>"
      "<title>t</title></head><body><h1>北京时间</h1><p>第一篇 &amp; “引号” — "
      "完</p></body></html>");
  ASSERT_TRUE(WriteAndWait(view, first, PageUrl(server, "/a.html")));
  EXPECT_TRUE(ShowsBodyOf(first));
  EXPECT_TRUE(BodyText(view).contains(QStringLiteral("第一篇 & “引号” — 完")));

  const QString second = ReaderPage(QStringLiteral("第二篇"), PageUrl(server, "/b.html"));
  ASSERT_TRUE(WriteAndWait(view, second, PageUrl(server, "/b.html")));
  EXPECT_TRUE(ShowsBodyOf(second));
  EXPECT_FALSE(BodyText(view).contains(QStringLiteral("第一篇")));
}

TEST_F(ArticleViewTest, PageLargerThanTwoMegabytesIsShown) {
  QString paragraph = QStringLiteral("<p>") + QString(200, QChar(0x65B0)) + QStringLiteral("</p>");
  QString html = QStringLiteral("<body>");
  while (html.toUtf8().size() < 3 * 1024 * 1024) html += paragraph;  // UTF-8 text of 3 MB
  html += QStringLiteral("<p id='end'>文末标记</p></body>");
  ASSERT_GT(html.toUtf8().size(), 3 * 1024 * 1024);

  ASSERT_TRUE(WriteAndWait(view, html, PageUrl(server, "/big.html")));
  const QString text = BodyText(view);
  EXPECT_TRUE(text.endsWith(QStringLiteral("文末标记"))) << text.right(20).toStdString();
  EXPECT_TRUE(ShowsBodyOf(html));
}

TEST_F(ArticleViewTest, RelativeAddressesResolveAgainstTheArticleAddress) {
  server.Serve("/news/img/pic.png", PngImage(40, 30), "image/png");
  const QString html = QStringLiteral(
      "<body><img id='pic' src='img/pic.png'><a id='rel' href='other.html'>下一篇</a></body>");
  ASSERT_TRUE(WriteAndWait(view, html, PageUrl(server, "/news/article.html")));

  EXPECT_TRUE(QTest::qWaitFor(
      [&] {
        return RunScript(view, QStringLiteral("document.images[0].naturalWidth")).toInt() == 40;
      },
      kWaitMs));
  EXPECT_EQ(server.Hits("/news/img/pic.png"), 1);
  EXPECT_EQ(RunScript(view, QStringLiteral("document.getElementById('rel').href")).toString(),
            PageUrl(server, "/news/other.html"));
}

// The article's address is the written page's base whatever <base> the page names: its
// relative addresses and its "#top" links stay with the article.
TEST_F(ArticleViewTest, PageWithItsOwnBaseResolvesAgainstTheArticle) {
  server.Serve("/own/pic.png", PngImage(12, 12), "image/png");
  server.Serve("/news/pic.png", PngImage(20, 20), "image/png");
  const QString article = PageUrl(server, "/news/article.html");
  const QString html = QStringLiteral(
                           "<html><head><base href='%1'></head><body><img src='pic.png'>"
                           "<a id='top' href='#top'>回到顶部</a></body></html>")
                           .arg(PageUrl(server, "/own/"));
  ASSERT_TRUE(WriteAndWait(view, html, article));
  EXPECT_EQ(RunScript(view, QStringLiteral("document.baseURI")).toString(), article);
  EXPECT_EQ(RunScript(view, QStringLiteral("document.getElementById('top').href")).toString(),
            article + QStringLiteral("#top"));
  EXPECT_TRUE(QTest::qWaitFor(
      [&] {
        return RunScript(view, QStringLiteral("document.images[0].naturalWidth")).toInt() == 20;
      },
      kWaitMs));
  EXPECT_EQ(server.Hits("/own/pic.png"), 0);
}

TEST_F(ArticleViewTest, LocationUrlIsTheWriteAddressOrTheAddressNavigatedTo) {
  server.Serve("/plain.html", "<html><body>plain</body></html>", "text/html");
  const QString article = PageUrl(server, "/2009-03-07/article.shtml?x=1&y=2");

  ASSERT_TRUE(NavigateAndWait(view, QStringLiteral("about:blank")));
  EXPECT_EQ(view.LocationURL(), u"about:blank");

  view.WriteDocument(u"<body>x</body>", article.toStdU16String());
  EXPECT_EQ(QString::fromStdU16String(view.LocationURL()), article) << "right after the write";
  ASSERT_TRUE(QTest::qWaitFor([&] { return BodyText(view) == QStringLiteral("x"); }, kWaitMs));
  EXPECT_EQ(QString::fromStdU16String(view.LocationURL()), article) << "once it shows";

  // The failure page of an empty article address is written with an empty address.
  ASSERT_TRUE(WriteAndWait(view, QStringLiteral("抱歉，本文获取失败！"), QString()));
  EXPECT_EQ(view.LocationURL(), u"");

  ASSERT_TRUE(NavigateAndWait(view, PageUrl(server, "/plain.html")));
  EXPECT_EQ(QString::fromStdU16String(view.LocationURL()), PageUrl(server, "/plain.html"));
}

TEST_F(ArticleViewTest, RefreshRightBeforeAWriteStillShowsTheWrittenPage) {
  server.Serve("/plain.html", "<html><body>plain</body></html>", "text/html");
  ASSERT_TRUE(NavigateAndWait(view, PageUrl(server, "/plain.html")));
  view.Refresh2();
  ASSERT_TRUE(WriteAndWait(view, QStringLiteral("<body>after a navigated page</body>"),
                           PageUrl(server, "/a")));
  EXPECT_EQ(BodyText(view), QStringLiteral("after a navigated page"));

  view.Refresh2();
  ASSERT_TRUE(WriteAndWait(view, QStringLiteral("<body>after a written page</body>"),
                           PageUrl(server, "/b")));
  EXPECT_EQ(BodyText(view), QStringLiteral("after a written page"));

  // Refresh alone reloads what is shown, a written page included.
  QSignalSpy loadFinished(&view, &QWebEngineView::loadFinished);
  view.Refresh2();
  ASSERT_TRUE(WaitForLoad(loadFinished));
  EXPECT_EQ(BodyText(view), QStringLiteral("after a written page"));
}

TEST_F(ArticleViewTest, TitlesOfWrittenPagesAreNotRaised) {
  const QString html =
      QStringLiteral("<html><head><title>新浪网 首页</title></head><body>x</body></html>");
  ASSERT_TRUE(WriteAndWait(view, html, PageUrl(server, "/a.html")));
  RunScript(view, QStringLiteral("document.title = '新浪网 又一个'"));
  // The engine did change the title, twice; none of it may reach the window.
  ASSERT_TRUE(
      QTest::qWaitFor([&] { return view.title() == QStringLiteral("新浪网 又一个"); }, kWaitMs));
  QTest::qWait(200);
  EXPECT_TRUE(titles.empty()) << titles.front().toStdString();
}

TEST_F(ArticleViewTest, TitleOfANavigatedPageIsRaised) {
  server.Serve("/titled.html",
               "<html><head><title>滚动新闻_新浪网</title></head><body>x</body></html>",
               "text/html; charset=utf-8");
  ASSERT_TRUE(NavigateAndWait(view, PageUrl(server, "/titled.html")));
  EXPECT_TRUE(QTest::qWaitFor(
      [&] { return !titles.empty() && titles.back() == QStringLiteral("滚动新闻_新浪网"); },
      kWaitMs));
}

// The window answers a title with the portal's name by refreshing and writing the article
// again; that must settle after one round, not loop.
TEST_F(ArticleViewTest, RewritingOnAPortalTitleDoesNotLoop) {
  server.Serve("/portal.html",
               "<html><head><title>要闻_新浪网</title></head><body>原文</body></html>",
               "text/html; charset=utf-8");
  int rewrites = 0;
  view.TitleChange = [&](const std::u16string& title) {
    if (title.find(u"新浪网") == std::u16string::npos) return;
    ++rewrites;
    const std::u16string address = view.LocationURL();
    view.Refresh2();
    view.WriteDocument(u"<html><head><title>要闻_新浪网</title></head><body>改写</body></html>",
                       address);
  };
  view.Navigate(PageUrl(server, "/portal.html").toStdU16String());
  ASSERT_TRUE(QTest::qWaitFor([&] { return BodyText(view) == QStringLiteral("改写"); }, kWaitMs));
  QTest::qWait(1000);
  EXPECT_EQ(rewrites, 1);
  EXPECT_EQ(QString::fromStdU16String(view.LocationURL()), PageUrl(server, "/portal.html"));
}

TEST_F(ArticleViewTest, NewWindowLinkGoesToTheOpenerAndOtherLinksNavigate) {
  server.Serve("/next.html", "<html><head><title>下一页</title></head><body>next</body></html>",
               "text/html; charset=utf-8");
  const QString source = PageUrl(server, "/original.shtml");
  const QString html = ReaderPage(QStringLiteral("<a id='next' href='next.html'>下一页</a>"
                                                 "<a id='blank' href='a%20b.shtml' "
                                                 "target='_blank'>另一篇</a>"),
                                  source);
  ASSERT_TRUE(WriteAndWait(view, html, PageUrl(server, "/article.shtml")));

  ASSERT_TRUE(ClickElement(view, QStringLiteral("source")));
  ASSERT_TRUE(QTest::qWaitFor([&] { return !opener.opened.empty(); }, kWaitMs));
  EXPECT_EQ(opener.opened, std::vector<QString>{source});
  QTest::qWait(300);
  EXPECT_EQ(server.Hits("/original.shtml"), 0) << "the view itself must not load it";
  EXPECT_TRUE(ShowsBodyOf(html));

  // Handed on encoded, as written: the opener takes no address with a blank in it.
  ASSERT_TRUE(ClickElement(view, QStringLiteral("blank")));
  ASSERT_TRUE(QTest::qWaitFor([&] { return opener.opened.size() == 2; }, kWaitMs));
  EXPECT_EQ(opener.opened.back(), PageUrl(server, "/a%20b.shtml"));
  EXPECT_TRUE(OpenableUrlOf(opener.opened.back().toStdU16String()).isValid());

  QSignalSpy loadFinished(&view, &QWebEngineView::loadFinished);
  ASSERT_TRUE(ClickElement(view, QStringLiteral("next")));
  ASSERT_TRUE(WaitForLoad(loadFinished));
  EXPECT_EQ(view.url(), QUrl(PageUrl(server, "/next.html")));
  EXPECT_EQ(BodyText(view), QStringLiteral("next"));
  EXPECT_EQ(opener.opened.size(), 2u);
  EXPECT_TRUE(QTest::qWaitFor(
      [&] { return !titles.empty() && titles.back() == QStringLiteral("下一页"); }, kWaitMs));
}

// The view shows pages and runs none of their scripts: a script cannot open windows or
// dialogs, and one that never yields cannot hold the next article back.
TEST_F(ArticleViewTest, PageScriptsDoNotRun) {
  bool dialogShown = false;
  // Should a dialog open, its modal loop would hold the test: close it and fail instead.
  QTimer watchdog;
  QObject::connect(&watchdog, &QTimer::timeout, [&] {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      dialogShown = true;
      modal->close();
    }
  });
  watchdog.start(100);

  const struct {
    const char* name;
    QString script;
  } cases[] = {
      {"window.open", QStringLiteral("window.open('%1');").arg(PageUrl(server, "/popup.html"))},
      {"dialogs", QStringLiteral("alert('警告'); confirm('确定?'); prompt('输入', '默认');")},
      {"a script that never yields", QStringLiteral("setTimeout(() => { while (1) {} }, 300);")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const QString html = QStringLiteral(
                             "<body><p id='r'>pending</p><script>%1"
                             "document.getElementById('r').textContent = 'ran';</script></body>")
                             .arg(c.script);
    ASSERT_TRUE(WriteAndWait(view, html, PageUrl(server, "/a.html")));
    QTest::qWait(500);
    EXPECT_EQ(BodyText(view), QStringLiteral("pending"));

    view.WriteDocument(u"<body>下一篇</body>", PageUrl(server, "/b.html").toStdU16String());
    EXPECT_TRUE(QTest::qWaitFor([&] { return BodyText(view) == QStringLiteral("下一篇"); }, 2000))
        << "the next article must show within 2 s";
  }
  EXPECT_TRUE(opener.opened.empty());
  EXPECT_EQ(server.Hits("/popup.html"), 0);
  EXPECT_FALSE(dialogShown);
}

// A renderer that hangs (here: stopped) or dies is replaced, and the next article shows.
TEST_F(ArticleViewTest, NextArticleShowsAfterTheRendererHangsOrDies) {
  for (const int signal : {SIGSTOP, SIGKILL}) {
    SCOPED_TRACE(signal == SIGSTOP ? "hung renderer" : "dead renderer");
    ASSERT_TRUE(
        WriteAndWait(view, QStringLiteral("<body>第一篇</body>"), PageUrl(server, "/a.html")));
    const qint64 renderer = view.page()->renderProcessPid();
    ASSERT_GT(renderer, 0);
    ::kill(static_cast<pid_t>(renderer), signal);

    QElapsedTimer clock;
    clock.start();
    view.WriteDocument(u"<body>第二篇</body>", PageUrl(server, "/b.html").toStdU16String());
    EXPECT_TRUE(QTest::qWaitFor([&] { return BodyText(view) == QStringLiteral("第二篇"); }, 12000));
    std::cout << (signal == SIGSTOP ? "hung" : "dead")
              << " renderer: the next article showed after " << clock.elapsed() << " ms\n";
    EXPECT_NE(view.page()->renderProcessPid(), renderer);
    ::kill(static_cast<pid_t>(renderer), SIGKILL);  // should the view have left it stopped
  }
}

// A written page cannot take the view elsewhere by itself: a refresh to a page of the portal
// would otherwise re-render the article without end.
TEST_F(ArticleViewTest, WrittenPageDoesNotNavigateByItself) {
  server.Serve("/portal.html",
               "<html><head><title>要闻_新浪网</title></head><body>原文</body></html>",
               "text/html; charset=utf-8");
  int rewrites = 0;
  view.TitleChange = [&](const std::u16string& title) {
    if (title.find(u"新浪网") == std::u16string::npos) return;
    ++rewrites;
    view.WriteDocument(u"<body>改写</body>", view.LocationURL());
  };
  const QString html = QStringLiteral(
                           "<head><meta http-equiv='refresh' content='0; url=%1'></head>"
                           "<body><p>文章</p></body>")
                           .arg(PageUrl(server, "/portal.html"));
  ASSERT_TRUE(WriteAndWait(view, html, PageUrl(server, "/article.shtml")));
  QTest::qWait(1500);
  EXPECT_EQ(server.Hits("/portal.html"), 0);
  EXPECT_EQ(rewrites, 0);
  EXPECT_EQ(BodyText(view), QStringLiteral("文章"));
}

TEST_F(ArticleViewTest, PageAskingToStayDoesNotHoldTheNextWrite) {
  const QString html = QStringLiteral(
      "<body><p id='p'>留下</p><script>window.addEventListener('beforeunload', function(e) {"
      "e.preventDefault(); e.returnValue = '离开?'; return '离开?';});</script></body>");
  ASSERT_TRUE(WriteAndWait(view, html, PageUrl(server, "/a.html")));
  ASSERT_TRUE(ClickElement(view, QStringLiteral("p")));  // a user gesture arms the prompt
  QTest::qWait(100);
  ASSERT_TRUE(
      WriteAndWait(view, QStringLiteral("<body>下一篇</body>"), PageUrl(server, "/b.html")));
  EXPECT_EQ(BodyText(view), QStringLiteral("下一篇"));
}

TEST_F(ArticleViewTest, DocumentCompleteFollowsEveryLoad) {
  int completions = 0;
  view.DocumentComplete = [&] { ++completions; };
  ASSERT_TRUE(WriteAndWait(view, QStringLiteral("<body>a</body>"), PageUrl(server, "/a")));
  EXPECT_EQ(completions, 1);
  QSignalSpy loadFinished(&view, &QWebEngineView::loadFinished);
  view.Navigate(PageUrl(server, "/missing.html").toStdU16String());  // 404 from the server
  ASSERT_TRUE(loadFinished.wait(kWaitMs));
  EXPECT_EQ(completions, 2);
}

}  // namespace

namespace {

// Deleting the view deletes its page, which still emits signals; none may reach callbacks
// whose owner is being torn down.
TEST(ArticleViewLifetime, DestroyingTheViewRaisesNothing) {
  LoopbackServer server;
  server.Start();
  server.Serve("/t.html", "<html><head><title>标题</title></head><body>x</body></html>",
               "text/html; charset=utf-8");
  int titles = 0;
  int completions = 0;
  {
    ArticleView view;
    view.show();
    view.TitleChange = [&](const std::u16string&) { ++titles; };
    view.DocumentComplete = [&] { ++completions; };
    ASSERT_TRUE(NavigateAndWait(view, PageUrl(server, "/t.html")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return view.title() == QStringLiteral("标题"); }, kWaitMs));
    titles = 0;
    completions = 0;
  }
  EXPECT_EQ(titles, 0);
  EXPECT_EQ(completions, 0);
}

}  // namespace

namespace {

TEST_F(ArticleViewTest, InPageLinkOfAWrittenPageStaysOnIt) {
  const QString article = PageUrl(server, "/article.shtml");
  const QString html = QStringLiteral(
      "<body><a id='jump' href='#end'>跳到文末</a>"
      "<div style='height:5000px'></div><p id='end'>文末</p></body>");
  ASSERT_TRUE(WriteAndWait(view, html, article));
  ASSERT_TRUE(ClickElement(view, QStringLiteral("jump")));
  EXPECT_TRUE(QTest::qWaitFor(
      [&] { return RunScript(view, QStringLiteral("window.scrollY")).toDouble() > 1000; },
      kWaitMs));
  EXPECT_EQ(server.Hits("/article.shtml"), 0);
  EXPECT_TRUE(ShowsBodyOf(html));
  EXPECT_EQ(QString::fromStdU16String(view.LocationURL()), article);
}

}  // namespace

namespace {

// Under a Chinese locale the view's context menu speaks Chinese, and it offers nothing that
// would replace the reader page by an empty one (history) or save it.
TEST_F(ArticleViewTest, ContextMenuIsChineseAndCannotBlankThePage) {
  QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
  InstallQtTranslations(*QCoreApplication::instance());
  ASSERT_TRUE(WriteAndWait(view, QStringLiteral("<body><p id='p'>正文</p></body>"),
                           PageUrl(server, "/a.html")));
  ASSERT_TRUE(WriteAndWait(view, QStringLiteral("<body><p id='p'>第二篇</p></body>"),
                           PageUrl(server, "/b.html")));
  QWidget* target = view.focusProxy() ? view.focusProxy() : &view;
  QTest::mouseClick(target, Qt::RightButton, Qt::NoModifier, QPoint(200, 200));
  QMenu* menu = nullptr;
  ASSERT_TRUE(QTest::qWaitFor(
      [&] { return (menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) != nullptr; },
      kWaitMs));
  QStringList texts;
  for (QAction* action : menu->actions()) {
    if (action->isSeparator() || !action->isVisible()) continue;
    texts << action->text();
    for (const QWebEnginePage::WebAction refused :
         {QWebEnginePage::Back, QWebEnginePage::Forward, QWebEnginePage::ViewSource,
          QWebEnginePage::SavePage})
      EXPECT_NE(action, view.page()->action(refused)) << action->text().toStdString();
  }
  menu->close();
  QLocale::setDefault(QLocale::c());
  ASSERT_FALSE(texts.isEmpty());
  EXPECT_TRUE(texts.contains(QStringLiteral("重新加载"))) << texts.join(u'|').toStdString();
}

}  // namespace

namespace {

// Latin letters and digits come out in the window's Chinese family, whatever generic family
// the article asks for, unless it names a face of its own.
TEST_F(ArticleViewTest, ArticleTextIsSetInTheChineseFamily) {
  const QString family = QStringLiteral("Noto Sans CJK SC");
  if (!QFontDatabase::hasFamily(family)) GTEST_SKIP() << "fonts-noto-cjk is not installed";
  const QString text = QStringLiteral("Beijing 2010, 123");
  QString html = QStringLiteral("<body>");
  for (const QString& style :
       {QStringLiteral("font-family:'Noto Sans CJK SC'"), QString(),
        QStringLiteral("font-family:serif"), QStringLiteral("font-family:sans-serif"),
        QStringLiteral("font-family:monospace")})
    html += QStringLiteral("<p><span style=\"%1\">%2</span></p>").arg(style, text);
  ASSERT_TRUE(WriteAndWait(view, html + QStringLiteral("</body>"), PageUrl(server, "/a.html")));
  const QStringList widths =
      RunScript(view, QStringLiteral("Array.from(document.querySelectorAll('span'))"
                                     ".map(s => s.getBoundingClientRect().width.toFixed(2))"
                                     ".join(' ')"))
          .toString()
          .split(u' ');
  ASSERT_EQ(widths.size(), 5);
  EXPECT_EQ(widths[1], widths[0]) << "the standard family";
  EXPECT_EQ(widths[2], widths[0]) << "serif";
  EXPECT_EQ(widths[3], widths[0]) << "sans-serif";
  EXPECT_NE(widths[4], widths[0]) << "a face the article names is kept";
}

}  // namespace

namespace {

// A picture whose host never answers keeps the load from finishing, but the article is there:
// the watch must not take that for a hung renderer and replace it (the article would flash).
TEST(ArticleViewWatch, APictureThatNeverArrivesIsNoHang) {
  langxing::testportal::TestPortal portal(std::filesystem::path{});
  langxing::testportal::ScopedProxy proxy(portal);
  langxing::testportal::Page stalled;
  stalled.behaviour = langxing::testportal::Page::Behaviour::Stall;
  portal.SetPage("http://n.sinaimg.cn/stalled.jpg", stalled);
  ArticleView view;  // a new profile: it reads the proxy set above
  view.resize(600, 400);
  view.show();
  view.SetLoadImages(true);
  QSignalSpy loadStarted(&view, &QWebEngineView::loadStarted);
  view.WriteDocument(u"<body><p>正文</p><img src='http://n.sinaimg.cn/stalled.jpg'></body>",
                     u"http://news.sina.com.cn/c/slow.shtml");
  ASSERT_TRUE(QTest::qWaitFor([&] { return BodyText(view) == QStringLiteral("正文"); }, kWaitMs));
  const qint64 renderer = view.page()->renderProcessPid();
  // Past two rounds of the watch.
  QTest::qWait(2 * (ArticleView::kWriteWatchMs + ArticleView::kRendererAnswerMs) + 1000);
  EXPECT_EQ(view.page()->renderProcessPid(), renderer);
  EXPECT_EQ(loadStarted.size(), 1);
  EXPECT_EQ(BodyText(view), QStringLiteral("正文"));
}

}  // namespace
