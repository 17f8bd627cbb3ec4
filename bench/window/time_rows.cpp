// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/window/time_rows.hpp"

#include <gumbo.h>

#include <QBuffer>
#include <QListWidget>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>
#include <QWebEngineUrlSchemeHandler>
#include <QWebEngineView>
#include <cstdio>
#include <nlohmann/json.hpp>

#include "app/article_view.hpp"
#include "bench/window/bench_pages.hpp"
#include "bench/window/bench_window.hpp"
#include "bench/window/report.hpp"
#include "core/html_charset.hpp"
#include "core/html_document.hpp"
#include "core/http.hpp"
#include "core/text.hpp"
#include "headlines/headlines.hpp"
#include "headlines/roll_feed.hpp"
#include "headlines/roll_feed_address.hpp"
#include "tests/portal/sample_feeds.hpp"
#include "tests/support/window_controls.hpp"

namespace windowbench {
namespace {

using langxing::testportal::Page;
using langxing::testportal::TestPortal;

constexpr char ListingAddress[] = "http://news.sina.com.cn/bench/listing.shtml";
constexpr char ArticlesAddress[] = "http://news.sina.com.cn/bench/articles.shtml";
constexpr char RollPageAddress[] = "http://news.sina.com.cn/roll/#pageid=153&lid=2509";

// The floor of a list run: the download and the parse the program cannot do without.
double ListFloorMs(const std::string& url) {
  const double start = NowMs();
  const langxing::HttpResponse response = langxing::HttpGet(url, {});
  const std::string utf8 = langxing::DecodePageToUtf8(response.body, response.contentType);
  GumboOutput* output = gumbo_parse_with_options(&kGumboDefaultOptions, utf8.data(), utf8.size());
  gumbo_destroy_output(&kGumboDefaultOptions, output);
  return NowMs() - start;
}

// The same download through the program's whole document road, without the window: decode,
// parse, serialise, cut out the headlines. Shows what the window itself adds.
double ListRoadMs(const std::string& url, std::size_t* entries) {
  const double start = NowMs();
  const langxing::HttpResponse response = langxing::HttpGet(url, {});
  const langxing::BodyTexts texts = langxing::BodyTextsOfPage(response.body, response.contentType);
  *entries = langxing::ParseHeadlines(texts.innerHtml, langxing::DefaultTitleStartMarker).size();
  return NowMs() - start;
}

// The floor of a feed run: the feed's download, as the roll page's script makes it, and a JSON
// parse into a tree.
double FeedFloorMs(const langxing::RollFeedRequest& feed, std::size_t* items) {
  const double start = NowMs();
  const langxing::HttpResponse response = langxing::HttpGet(
      langxing::Utf16ToUtf8(feed.feedUrl), {"Referer: " + langxing::Utf16ToUtf8(feed.referer)});
  const nlohmann::json answer = nlohmann::json::parse(response.body, nullptr, false);
  *items = answer.is_discarded() ? 0 : answer["result"]["data"].size();
  return NowMs() - start;
}

// The time from the start of step i to each status text, as "phase" lines: where a run spends
// its time between one status write and the next.
void PrintStatusPhases(const std::string& row, const std::vector<std::vector<StatusWrite>>& runs,
                       const std::vector<double>& starts) {
  if (runs.empty()) return;
  const std::size_t steps = runs.front().size();
  for (std::size_t s = 0; s < steps; ++s) {
    std::vector<double> gaps;
    for (std::size_t r = 0; r < runs.size(); ++r) {
      if (runs[r].size() != steps) continue;
      const double from = s == 0 ? starts[r] : runs[r][s - 1].ms;
      gaps.push_back(runs[r][s].ms - from);
    }
    const std::string name = "to_" + langxing::Utf16ToUtf8(runs.front()[s].text);
    PrintPhase(row, "program", name.c_str(), Median(gaps));
  }
}

// What one status write costs: the panel is repainted at once on every write.
double StatusWriteMs(Form1& form) {
  std::vector<double> times;
  const std::u16string texts[] = {u"状态：获取", u"状态：空闲"};
  for (int i = 0; i < 60; ++i) {
    const double start = NowMs();
    form.SetPanelText(Form1::StatusPanel, texts[i % 2]);
    times.push_back(NowMs() - start);
  }
  return Median(times);
}

// A plain web view of the article view's size, shown as a window of its own.
struct FloorView {
  explicit FloorView(Form1& form, Waiter& waiter) : watch(view, waiter) {
    view.resize(Ctl(form).WebBrowser2->size());
    view.show();
  }
  // Loads `url` and waits for its first paint; the time from the call, or -1.
  double LoadMs(const std::string& url, std::vector<double>* toFinished = nullptr) {
    const QUrl target(QString::fromStdString(url));
    watch.Expect([target](const QUrl& shown) { return shown == target; });
    const double start = NowMs();
    view.load(target);
    if (!watch.WaitForPaint(60000)) return -1;
    if (toFinished) toFinished->push_back(watch.loadFinishedMs - start);
    return watch.paintedMs - start;
  }
  QWebEngineView view;
  ViewWatch watch;
};

// The floor's page served the way the window serves its written pages: through a URL scheme of
// its own, from a buffer, instead of over HTTP. Tells the scheme's cost from the engine's.
constexpr char BufferScheme[] = "bench-page";

void RegisterBufferScheme() {
  QWebEngineUrlScheme scheme(BufferScheme);
  scheme.setSyntax(QWebEngineUrlScheme::Syntax::Host);
  scheme.setFlags({});
  QWebEngineUrlScheme::registerScheme(scheme);
}

class BufferPages final : public QWebEngineUrlSchemeHandler {
 public:
  using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;
  QByteArray body;
  void requestStarted(QWebEngineUrlRequestJob* job) override {
    auto* buffer = new QBuffer(job);
    buffer->setData(body);
    buffer->open(QIODevice::ReadOnly);
    job->reply(QByteArrayLiteral("text/html;charset=utf-8"), buffer);
  }
};

// The page's markup as the engine holds it, to check that two views show the same document.
QString PageHtml(QWebEngineView& view, Waiter& waiter) {
  QString html;
  bool done = false;
  view.page()->toHtml([&](const QString& result) {
    html = result;
    done = true;
  });
  waiter.Wait([&] { return done; }, 30000);
  return html;
}

std::string SameDocumentNote(QWebEngineView& a, QWebEngineView& b, Waiter& waiter) {
  const QString one = PageHtml(a, waiter);
  const QString other = PageHtml(b, waiter);
  if (!one.isEmpty() && one == other) return " check=same-document";
  std::fprintf(stderr, "warning: the floor's page differs from the written page (%lld, %lld)\n",
               static_cast<long long>(one.size()), static_cast<long long>(other.size()));
  return " check=documents-differ";
}

}  // namespace

int ListRow(int argc, char** argv, const std::string& row, std::size_t listingBytes, int reps) {
  TestPortal portal{std::filesystem::path{}};
  int headlines = 0;
  const Page listing = ListingOfSize(listingBytes, &headlines);
  portal.SetPage(ListingAddress, listing);
  UseProxy(portal.Port());

  return RunWindow(argc, argv, {std::string("新闻中心_基准列表--") + ListingAddress},
                   [&](QApplication&, Form1& form) {
                     WindowDriver driver(form);
                     std::vector<double> program, floor, road;
                     std::vector<std::vector<StatusWrite>> runs;
                     std::vector<double> starts;
                     std::size_t entries = 0;
                     for (int rep = -1; rep < reps; ++rep) {  // rep -1 warms up
                       const double idle = driver.ClickChannel("基准列表");
                       const double start = driver.clickedMs;
                       if (idle < 0 || Ctl(form).List2->count() != headlines) {
                         std::fprintf(stderr, "%s: the list did not fill (%d of %d rows)\n",
                                      row.c_str(), Ctl(form).List2->count(), headlines);
                         return 1;
                       }
                       const double floorMs = ListFloorMs(ListingAddress);
                       const double roadMs = ListRoadMs(ListingAddress, &entries);
                       if (rep < 0) continue;
                       program.push_back(idle - start);
                       floor.push_back(floorMs);
                       road.push_back(roadMs);
                       runs.push_back(driver.statusWrites);
                       starts.push_back(start);
                     }
                     if (static_cast<int>(entries) != headlines) {
                       std::fprintf(stderr, "%s: the parser found %zu of %d headlines\n",
                                    row.c_str(), entries, headlines);
                       return 1;
                     }
                     PrintResult(row, listing.body.size(), program.size(), Median(program),
                                 Median(floor), " headlines=" + std::to_string(headlines));
                     PrintPhase(row, "road", "get_decode_parse_serialise_cut", Median(road));
                     PrintStatusPhases(row, runs, starts);
                     PrintPhase(row, "program", "one_status_write", StatusWriteMs(form));
                     return 0;
                   });
}

int FeedListRow(int argc, char** argv, const std::string& row, int items, int reps) {
  TestPortal portal{std::filesystem::path{}};
  const langxing::RollFeedRequest feed =
      *langxing::RollFeedRequestOf(langxing::Utf8ToUtf16(RollPageAddress));
  Page answer;
  answer.body =
      langxing::testportal::SampleFeed({"新闻中心", "基准滚动", RollPageAddress}, 0, items);
  answer.contentType = "application/json; charset=utf-8";
  portal.SetPage(langxing::Utf16ToUtf8(feed.feedUrl), answer);
  UseProxy(portal.Port());

  return RunWindow(argc, argv, {std::string("新闻中心_基准滚动--") + RollPageAddress},
                   [&](QApplication&, Form1& form) {
                     WindowDriver driver(form);
                     std::vector<double> program, floor;
                     std::vector<std::vector<StatusWrite>> runs;
                     std::vector<double> starts;
                     for (int rep = -1; rep < reps; ++rep) {  // rep -1 warms up
                       const double idle = driver.ClickChannel("基准滚动");
                       const double start = driver.clickedMs;
                       if (idle < 0 || Ctl(form).List2->count() != items) {
                         std::fprintf(stderr, "%s: the list did not fill (%d of %d rows)\n",
                                      row.c_str(), Ctl(form).List2->count(), items);
                         return 1;
                       }
                       std::size_t parsed = 0;
                       const double floorMs = FeedFloorMs(feed, &parsed);
                       if (static_cast<int>(parsed) != items) {
                         std::fprintf(stderr, "%s: the floor read %zu of %d items\n", row.c_str(),
                                      parsed, items);
                         return 1;
                       }
                       if (rep < 0) continue;
                       program.push_back(idle - start);
                       floor.push_back(floorMs);
                       runs.push_back(driver.statusWrites);
                       starts.push_back(start);
                     }
                     PrintResult(row, answer.body.size(), program.size(), Median(program),
                                 Median(floor), " headlines=" + std::to_string(items));
                     PrintStatusPhases(row, runs, starts);
                     return 0;
                   });
}

int ArticleRow(int argc, char** argv, const std::string& row, std::size_t articleBytes, int reps,
               bool swatch, bool today) {
  TestPortal portal{std::filesystem::path{}};
  const std::string article = ArticleAddress(row);
  const Page articlePage =
      today ? TodayArticleOfSize(articleBytes, 1) : ArticleOfSize(articleBytes, 1);
  portal.SetPage(article, articlePage);
  portal.SetPage(PictureAddress, PicturePage());
  portal.SetPage(ArticlesAddress, ListingOf({{"基准文章：全国各地新闻汇总", article}}));
  UseProxy(portal.Port());
  RegisterBufferScheme();

  return RunWindow(
      argc, argv, {std::string("新闻中心_基准文章--") + ArticlesAddress},
      [&](QApplication&, Form1& form) {
        WindowDriver driver(form);
        if (driver.ClickChannel("基准文章") < 0 || driver.RowFor(article) == nullptr) {
          std::fprintf(stderr, "%s: the headline list did not fill\n", row.c_str());
          return 1;
        }
        FloorView floorView(form, driver.waiter);
        // The two swatches pressed in turn, so that every press changes the colour; a headline
        // click has one reader page, a swatch press one per swatch.
        const char* const swatches[] = {"Picture3", "Picture4"};
        std::string floorPages[2];
        std::u16string readerHtml[2];  // the same pages as text, for writing them directly
        QByteArray floorBytes[2];
        const auto openOnce = [&](int turn) {
          if (swatch) {
            driver.PressSwatch(swatches[turn]);
          } else {
            driver.ClickRow(driver.RowFor(article));
          }
          const bool painted = driver.WaitForWrittenPage();
          if (swatch) driver.ReleaseSwatch(swatches[turn]);
          return painted ? driver.renderEndedMs : -1.0;
        };
        // Warm-up: the article once, then (for the swatch row) each swatch once, and the reader
        // pages the floor loads, rendered with the settings the window has then.
        const auto fail = [&row](const char* what) {
          std::fprintf(stderr, "%s: %s\n", row.c_str(), what);
          return 1;
        };
        // The first open also starts the renderer the written pages share; it is tried twice.
        bool opened = false;
        for (int attempt = 0; attempt < 2 && !opened; ++attempt) {
          driver.ClickRow(driver.RowFor(article));
          opened = driver.WaitForWrittenPage(30000);
        }
        if (!opened) return fail("the article was not painted");
        for (int turn = 0; turn < (swatch ? 2 : 1); ++turn) {
          if (swatch && openOnce(turn) < 0) return fail("the swatch's page was not painted");
          floorPages[turn] = "http://news.sina.com.cn/c/bench/reader-" + row + "-" +
                             std::to_string(turn) + ".html";
          const Page reader = ReaderPage(article, form.CurrentReaderSettings());
          portal.SetPage(floorPages[turn], reader);
          readerHtml[turn] = QString::fromUtf8(reader.body.substr(3)).toStdU16String();
          floorBytes[turn] = QByteArray::fromStdString(reader.body);
        }
        if (floorView.LoadMs(floorPages[swatch ? 1 : 0]) < 0)
          return fail("the floor's page was not painted");
        const std::string check =
            SameDocumentNote(*Ctl(form).WebBrowser2, floorView.view, driver.waiter);
        if (swatch && floorView.LoadMs(floorPages[0]) < 0)
          return fail("the floor's page was not painted");

        driver.articleWatch.paintedBeforeLoadEnd = floorView.watch.paintedBeforeLoadEnd = 0;
        std::vector<double> program, floor, toWritten, toFinished, toFrame, floorFinished;
        std::vector<double> writeOnly, refreshWrite, floorScheme;
        auto* bufferPages = new BufferPages(&floorView.view);
        floorView.view.page()->profile()->installUrlSchemeHandler(BufferScheme, bufferPages);
        int bufferLoads = 0;
        // The article view alone: the finished page written straight in (the written-page
        // scheme against the floor's HTTP), and the same after the reload the window starts
        // each render with.
        const std::u16string base = langxing::Utf8ToUtf16(article);
        const auto writeMs = [&](int turn, bool refreshFirst, std::vector<double>& into) {
          const double start = NowMs();
          if (refreshFirst) Ctl(form).WebBrowser2->Refresh2();
          Ctl(form).WebBrowser2->WriteDocument(readerHtml[turn], base);
          if (!driver.WaitForWrittenPage()) return false;
          into.push_back(driver.articleWatch.paintedMs - start);
          return true;
        };
        driver.ClearWrites();
        std::size_t writesPerRun = 0;
        for (int rep = 0; rep < reps; ++rep) {
          const int turn = swatch ? rep % 2 : 0;
          driver.ClearWrites();
          const double start = NowMs();
          const double written = openOnce(turn);
          if (written < 0) {
            std::fprintf(stderr, "%s: the article was not painted\n", row.c_str());
            return 1;
          }
          writesPerRun = driver.statusWrites.size();
          const ViewWatch& w = driver.articleWatch;
          program.push_back(w.paintedMs - start);
          toWritten.push_back(written - start);
          toFinished.push_back(w.loadFinishedMs - written);
          toFrame.push_back(w.firstFrameMs - written);
          const double floorMs = floorView.LoadMs(floorPages[turn], &floorFinished);
          if (floorMs < 0) return fail("the floor's page was not painted");
          floor.push_back(floorMs);
          if (!writeMs(turn, false, writeOnly) || !writeMs(turn, true, refreshWrite))
            return fail("a written page was not painted");
          bufferPages->body = floorBytes[turn];
          const double schemeMs = floorView.LoadMs(std::string(BufferScheme) + "://page/" +
                                                   std::to_string(++bufferLoads));
          if (schemeMs < 0) return fail("the floor's page was not painted from the buffer");
          floorScheme.push_back(schemeMs);
        }
        PrintResult(row, articlePage.body.size(), program.size(), Median(program), Median(floor),
                    check);
        PrintPhase(row, "program", "click_to_written", Median(toWritten));
        PrintPhase(row, "program", "written_to_first_frame", Median(toFrame));
        PrintPhase(row, "program", "written_to_load_finished", Median(toFinished));
        PrintPhase(row, "floor", "load_to_load_finished", Median(floorFinished));
        PrintPhase(row, "view", "write_to_painted", Median(writeOnly));
        PrintPhase(row, "view", "reload_then_write_to_painted", Median(refreshWrite));
        PrintPhase(row, "floor", "same_page_by_url_scheme_to_painted", Median(floorScheme));
        PrintPhase(row, "program", "status_writes_count", static_cast<double>(writesPerRun));
        // Runs whose last frame came before the load's end (timed at the load's end instead).
        PrintPhase(row, "program", "no_frame_after_load_count",
                   driver.articleWatch.paintedBeforeLoadEnd);
        PrintPhase(row, "floor", "no_frame_after_load_count", floorView.watch.paintedBeforeLoadEnd);
        PrintPhase(row, "program", "one_status_write", StatusWriteMs(form));
        return 0;
      });
}

}  // namespace windowbench
