// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/window/memory_row.hpp"

#include <unistd.h>

#include <QApplication>
#include <QListWidget>
#include <QWebEngineView>
#include <cstdio>
#include <map>
#include <sstream>

#include "app/article_view.hpp"
#include "bench/window/bench_pages.hpp"
#include "bench/window/bench_window.hpp"
#include "bench/window/report.hpp"
#include "tests/startup/ready_report.hpp"
#include "tests/support/window_controls.hpp"

namespace windowbench {
namespace {

using langxing::testportal::Headline;
using langxing::testportal::Page;
using langxing::testportal::TestPortal;

constexpr char MemoryListingAddress[] = "http://news.sina.com.cn/bench/memory.shtml";

std::string MemoryArticle(int n) { return ArticleAddress("memory-" + std::to_string(n)); }
std::string MemoryReaderPage(int n) {
  return "http://news.sina.com.cn/c/bench/memory-reader-" + std::to_string(n) + ".html";
}

// Articles of 20 to 80 KB, each with its own text.
Page MemoryArticlePage(int n) { return ArticleOfSize(20'000 + (n * 7919) % 60'000, n); }

bool IsCheckpoint(int opened, int opens) {
  return opened == 1 || opened == 50 || opened == 200 || opened == 500 || opened == opens;
}

// Lets the engine settle (layout, image decoding, deferred clean-up) before memory is read,
// the same on both sides.
void PrintMemory(const char* side, int opened, Waiter& waiter) {
  waiter.Wait([] { return false; }, 500);
  std::printf("memory side=%s opens=%d tree_pss_kib=%ld tree_private_kib=%ld helpers=%d\n", side,
              opened, startup::TreePssKib(getpid()), startup::TreePrivateKib(getpid()),
              startup::DescendantCount(getpid()));
  std::fflush(stdout);
}

// The figures a side printed, keyed by measure and side ("pss program"), then number of opens.
using Figures = std::map<std::string, std::map<int, long>>;

bool RunSide(const std::string& command, Figures& figures, std::string* viewSize) {
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return false;
  char buffer[512];
  while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
    std::fputs(buffer, stdout);
    std::fflush(stdout);
    char side[32] = {};
    int opened = 0;
    long pss = 0;
    long own = 0;
    int width = 0;
    int height = 0;
    if (std::sscanf(buffer, "memory side=%31s opens=%d tree_pss_kib=%ld tree_private_kib=%ld", side,
                    &opened, &pss, &own) == 4) {
      figures[std::string("pss ") + side][opened] = pss;
      figures[std::string("private ") + side][opened] = own;
    }
    if (viewSize && std::sscanf(buffer, "view width=%d height=%d", &width, &height) == 2)
      *viewSize = std::to_string(width) + " " + std::to_string(height);
  }
  return pclose(pipe) == 0;
}

}  // namespace

int MemoryRow(const std::string& self, int opens) {
  TestPortal portal{std::filesystem::path{}};
  std::vector<Headline> headlines;
  for (int n = 1; n <= opens; ++n) {
    portal.SetPage(MemoryArticle(n), MemoryArticlePage(n));
    headlines.push_back({"基准文章第" + std::to_string(n) + "篇", MemoryArticle(n)});
  }
  portal.SetPage(PictureAddress, PicturePage());
  portal.SetPage(MemoryListingAddress, ListingOf(headlines));
  UseProxy(portal.Port());
  // The reader pages for the floor, as the window writes them with its settings at start-up
  // (the window side checks that its settings are these).
  for (int n = 1; n <= opens; ++n)
    portal.SetPage(MemoryReaderPage(n), ReaderPage(MemoryArticle(n), langxing::ReaderSettings{}));

  const std::string base = "'" + self + "' %s --port " + std::to_string(portal.Port()) +
                           " --opens " + std::to_string(opens);
  Figures figures;
  std::string viewSize;
  char command[1024];
  std::snprintf(command, sizeof command, base.c_str(), "memory-window");
  if (!RunSide(command, figures, &viewSize) || viewSize.empty()) return 1;
  std::snprintf(command, sizeof command, (base + " --view-size " + viewSize).c_str(),
                "memory-floor");
  if (!RunSide(command, figures, nullptr)) return 1;

  // Growth after the first 50 opens, per 100 opens.
  const auto growth = [&](const std::string& side) {
    const auto& f = figures[side];
    if (!f.count(50) || !f.count(opens) || opens <= 50) return 0.0;
    return (f.at(opens) - f.at(50)) / 1024.0 / ((opens - 50) / 100.0);
  };
  for (const char* measure : {"pss", "private"}) {
    const std::string program = std::string(measure) + " program";
    const std::string floor = std::string(measure) + " floor";
    char growths[128];
    std::snprintf(growths, sizeof growths, " growth_program=%.2f growth_floor=%.2f",
                  growth(program), growth(floor));
    PrintResult(std::string("memory-") + measure, 0, static_cast<std::size_t>(opens),
                figures[program][opens] / 1024.0, figures[floor][opens] / 1024.0, growths, "MiB");
  }
  return 0;
}

int MemoryWindowSide(int argc, char** argv, int port, int opens) {
  UseProxy(port);
  return RunWindow(argc, argv, {std::string("新闻中心_基准阅读--") + MemoryListingAddress},
                   [&](QApplication&, Form1& form) {
                     const langxing::ReaderSettings settings = form.CurrentReaderSettings();
                     const langxing::ReaderSettings expected{};
                     if (settings.showImages != expected.showImages ||
                         settings.showVideo != expected.showVideo ||
                         settings.backgroundColour != expected.backgroundColour ||
                         settings.fontSize != expected.fontSize) {
                       std::fprintf(stderr, "the window's reader settings are not the floor's\n");
                       return 1;
                     }
                     std::printf("view width=%d height=%d\n", Ctl(form).WebBrowser2->width(),
                                 Ctl(form).WebBrowser2->height());
                     WindowDriver driver(form);
                     PrintMemory("program", 0, driver.waiter);
                     if (driver.ClickChannel("基准阅读") < 0 || Ctl(form).List2->count() != opens) {
                       std::fprintf(stderr, "the list of %d articles did not fill\n", opens);
                       return 1;
                     }
                     for (int n = 1; n <= opens; ++n) {
                       driver.ClickRow(Ctl(form).List2->item(n - 1));
                       if (!driver.WaitForWrittenPage()) {
                         std::fprintf(stderr, "article %d was not painted\n", n);
                         return 1;
                       }
                       if (IsCheckpoint(n, opens)) PrintMemory("program", n, driver.waiter);
                     }
                     return 0;
                   });
}

int MemoryFloorSide(int argc, char** argv, int port, int opens, int width, int height) {
  UseProxy(port);
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication app(argc, argv);
  QWebEngineView view;
  view.resize(width, height);
  view.show();
  Waiter waiter;
  ViewWatch watch(view, waiter);
  const auto load = [&](const QUrl& url) {
    watch.Expect([url](const QUrl& shown) { return shown == url; });
    view.load(url);
    return watch.WaitForPaint(60000);
  };
  if (!load(QUrl(QStringLiteral("about:blank")))) return 1;
  PrintMemory("floor", 0, waiter);
  for (int n = 1; n <= opens; ++n) {
    if (!load(QUrl(QString::fromStdString(MemoryReaderPage(n))))) {
      std::fprintf(stderr, "reader page %d was not painted\n", n);
      return 1;
    }
    if (IsCheckpoint(n, opens)) PrintMemory("floor", n, waiter);
  }
  return 0;
}

}  // namespace windowbench
