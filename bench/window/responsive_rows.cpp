// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/window/responsive_rows.hpp"

#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdio>

#include "bench/window/bench_pages.hpp"
#include "bench/window/bench_window.hpp"
#include "bench/window/report.hpp"
#include "tests/support/window_controls.hpp"

namespace windowbench {
namespace {

using langxing::testportal::Page;
using langxing::testportal::TestPortal;

constexpr char SlowArticlesAddress[] = "http://news.sina.com.cn/bench/slow-articles.shtml";
constexpr int TimerMs = 20;

// A 20 ms timer that keeps the longest lateness of its ticks: how long the event loop went
// without turning, less the timer's own interval.
class LatenessProbe {
 public:
  LatenessProbe() {
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      const double now = NowMs();
      longestMs_ = std::max(longestMs_, now - lastMs_ - TimerMs);
      lastMs_ = now;
    });
  }
  void Start() {
    longestMs_ = 0;
    lastMs_ = NowMs();
    timer_.start(TimerMs);
  }
  double Stop() {
    timer_.stop();
    return std::max(longestMs_, NowMs() - lastMs_ - TimerMs);
  }

 private:
  QTimer timer_;
  double lastMs_ = 0;
  double longestMs_ = 0;
};

int CountOf(const TestPortal& portal, const std::string& url) {
  const std::vector<std::string> requests = portal.Requests();
  return static_cast<int>(std::count(requests.begin(), requests.end(), url));
}

}  // namespace

int SlowArticleRow(int argc, char** argv, const std::string& row, int delayMs, int reps) {
  TestPortal portal{std::filesystem::path{}};
  const std::string article = ArticleAddress(row);
  Page articlePage = ArticleOfSize(100 * 1000, 1);
  articlePage.delay = std::chrono::milliseconds(delayMs);
  portal.SetPage(article, articlePage);
  portal.SetPage(PictureAddress, PicturePage());
  // Opened once first, without a delay: the first page written also starts the renderer.
  const std::string warmUp = ArticleAddress(row + "-warm-up");
  portal.SetPage(warmUp, ArticleOfSize(100 * 1000, 2));
  portal.SetPage(SlowArticlesAddress, ListingOf({{"基准文章：慢速网络上的新闻", article},
                                                 {"基准文章：先打开的新闻", warmUp}}));
  UseProxy(portal.Port());

  return RunWindow(argc, argv, {std::string("新闻中心_慢速文章--") + SlowArticlesAddress},
                   [&](QApplication&, Form1& form) {
                     WindowDriver driver(form);
                     if (driver.ClickChannel("慢速文章") < 0 || driver.RowFor(article) == nullptr ||
                         driver.RowFor(warmUp) == nullptr) {
                       std::fprintf(stderr, "%s: the headline list did not fill\n", row.c_str());
                       return 1;
                     }
                     bool opened = false;
                     for (int attempt = 0; attempt < 2 && !opened; ++attempt) {
                       driver.ClickRow(driver.RowFor(warmUp));
                       opened = driver.WaitForWrittenPage(30000);
                     }
                     if (!opened) {
                       std::fprintf(stderr, "%s: the article was not painted\n", row.c_str());
                       return 1;
                     }
                     LatenessProbe probe;
                     std::vector<double> program, floor, painted;
                     for (int rep = 0; rep < reps; ++rep) {
                       // The idle window for as long as a download takes.
                       probe.Start();
                       driver.waiter.Wait([] { return false; }, delayMs);
                       floor.push_back(probe.Stop());

                       const double start = NowMs();
                       probe.Start();
                       driver.ClickRow(driver.RowFor(article));
                       if (!driver.WaitForWrittenPage(delayMs + 30000)) {
                         std::fprintf(stderr, "%s: the article was not painted\n", row.c_str());
                         return 1;
                       }
                       program.push_back(probe.Stop());
                       painted.push_back(driver.articleWatch.paintedMs - start);
                     }
                     PrintResult(row, articlePage.body.size(), program.size(), Median(program),
                                 Median(floor), " delay_ms=" + std::to_string(delayMs));
                     PrintPhase(row, "program", "click_to_painted", Median(painted));
                     return 0;
                   });
}

int FontStepsRow(int argc, char** argv, const std::string& row, int reps) {
  TestPortal portal{std::filesystem::path{}};
  const std::string article = ArticleAddress(row);
  const Page articlePage = ArticleOfSize(100 * 1000, 1);
  portal.SetPage(article, articlePage);
  portal.SetPage(PictureAddress, PicturePage());
  portal.SetPage(SlowArticlesAddress, ListingOf({{"基准文章：字体大小", article}}));
  UseProxy(portal.Port());

  return RunWindow(argc, argv, {std::string("新闻中心_字体文章--") + SlowArticlesAddress},
                   [&](QApplication&, Form1& form) {
                     WindowDriver driver(form);
                     if (driver.ClickChannel("字体文章") < 0 || driver.RowFor(article) == nullptr) {
                       std::fprintf(stderr, "%s: the headline list did not fill\n", row.c_str());
                       return 1;
                     }
                     // The first open also starts the renderer the written pages share; it is tried
                     // twice.
                     bool opened = false;
                     for (int attempt = 0; attempt < 2 && !opened; ++attempt) {
                       driver.ClickRow(driver.RowFor(article));
                       opened = driver.WaitForWrittenPage(30000);
                     }
                     if (!opened) {
                       std::fprintf(stderr, "%s: the article was not painted\n", row.c_str());
                       return 1;
                     }
                     form.SelectTab(u"设置");
                     std::vector<double> requests, painted;
                     for (int rep = 0; rep < reps; ++rep) {
                       portal.ClearRequests();
                       Ctl(form).HScroll1->setFocus();
                       // Up three points, then down three the next time, so that every step is a
                       // change.
                       const Qt::Key key = rep % 2 == 0 ? Qt::Key_Right : Qt::Key_Left;
                       const double start = NowMs();
                       for (int step = 0; step < 3; ++step) {
                         if (step > 0) driver.waiter.Wait([] { return false; }, 100);
                         QTest::keyClick(Ctl(form).HScroll1, key);
                       }
                       if (!driver.WaitForWrittenPage()) {
                         std::fprintf(stderr, "%s: the article was not painted\n", row.c_str());
                         return 1;
                       }
                       painted.push_back(driver.articleWatch.paintedMs - start);
                       // Anything still due has had its time to start.
                       driver.waiter.Wait([] { return false; }, 500);
                       requests.push_back(CountOf(portal, article));
                     }
                     PrintResult(row, articlePage.body.size(), requests.size(),
                                 *std::max_element(requests.begin(), requests.end()), 1, "",
                                 "requests");
                     PrintPhase(row, "program", "first_step_to_painted", Median(painted));
                     return 0;
                   });
}

}  // namespace windowbench
