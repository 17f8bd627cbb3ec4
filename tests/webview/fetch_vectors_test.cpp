// SPDX-License-Identifier: GPL-3.0-or-later
// Every way a page's markup can make the engine fetch something, written into the article view
// with the local test portal as its proxy: with "显示图像" and "显示视频" cleared nothing goes
// out; pictures go out when their option is ticked, the portal's own media when video is.
// A plain engine view of the same page is the control that shows each way really fetches.
#include <gtest/gtest.h>

#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>
#include <algorithm>
#include <filesystem>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "app/article_view.hpp"
#include "tests/portal/test_portal.hpp"
#include "view_harness.hpp"

namespace {

enum class Kind { Picture, Frame, Stylesheet, Font, Preload, Object, Media, Other };

const char* NameOf(Kind kind) {
  switch (kind) {
    case Kind::Picture:
      return "picture";
    case Kind::Frame:
      return "frame";
    case Kind::Stylesheet:
      return "stylesheet";
    case Kind::Font:
      return "font";
    case Kind::Preload:
      return "prefetch/preload";
    case Kind::Object:
      return "object/embed";
    case Kind::Media:
      return "media";
    case Kind::Other:
      return "other";
  }
  return "?";
}

struct Vector {
  Kind kind;
  const char* markup;  // "%1" stands for the vector's own address
  const char* host = "http://news.sina.com.cn";
};

const std::string kVideoHost = "http://video.sina.com.cn";

// The markup of each way, its address unique per vector. (A refresh to another page is no
// fetch of the page's but a navigation, which the view refuses: see article_view_test.)
const std::vector<Vector> kVectors = {
    {Kind::Picture, "<img src='%1'>"},
    {Kind::Picture, "<img style='display:none' src='%1'>"},
    {Kind::Picture, "<IMG SRC='%1'>"},
    {Kind::Picture, "<div style='width:50px;height:50px;background:url(%1)'>背景</div>"},
    {Kind::Picture, "<img srcset='%1 1x'>"},
    {Kind::Picture, "<video poster='%1' width='40' height='40'></video>"},
    {Kind::Picture, "<picture><source srcset='%1'><img alt='图'></picture>"},
    {Kind::Picture, "<input type='image' src='%1'>"},
    {Kind::Picture, "<table background='%1'><tr><td>表</td></tr></table>"},
    {Kind::Picture, "<svg width='10' height='10'><image href='%1' width='10' height='10'/></svg>"},
    {Kind::Picture, "<ul style='list-style-image:url(%1)'><li>项</li></ul>"},
    {Kind::Picture,
     "<div style='width:9px;height:9px;border:4px solid;border-image:url(%1) 3'>"
     "</div>"},
    {Kind::Picture, "<div style='content:url(%1)'></div>"},
    {Kind::Picture, "<img src='%1'>", "http://n.sinaimg.cn"},  // the portal's picture host
    {Kind::Frame, "<iframe src='%1'></iframe>"},
    {Kind::Frame, "<iframe loading='lazy' src='%1'></iframe>"},
    {Kind::Frame, "<iframe src='%1' width='1' height='1' frameborder='0'></iframe>",
     "http://evil.test"},
    {Kind::Frame, "<iframe srcdoc=\"<frameset><frame src='%1'></frameset>\"></iframe>"},
    {Kind::Stylesheet, "<link rel='stylesheet' href='%1'>"},
    {Kind::Stylesheet, "<style>@import url(%1);</style>"},
    {Kind::Stylesheet, "<style>@import '%1' screen;</style>"},
    {Kind::Stylesheet, "<link rel='preload' as='style' href='%1'>"},
    {Kind::Font,
     "<style>@font-face{font-family:f%2;src:url(%1)}</style><span "
     "style='font-family:f%2'>字</span>"},
    {Kind::Font, "<link rel='preload' as='font' href='%1' crossorigin>"},
    {Kind::Preload, "<link rel='prefetch' href='%1'>"},
    {Kind::Preload, "<link rel='preload' as='script' href='%1'>"},
    {Kind::Preload, "<link rel='preload' as='fetch' href='%1' crossorigin>"},
    {Kind::Preload, "<link rel='modulepreload' href='%1'>"},
    {Kind::Preload, "<link rel='prerender' href='%1'>"},
    {Kind::Object, "<object data='%1'></object>"},
    {Kind::Object, "<object data='%1' type='text/html' width='20' height='20'></object>"},
    {Kind::Object, "<embed src='%1'>"},
    {Kind::Object, "<embed src='%1' type='text/html'>"},
    {Kind::Media, "<video src='%1'></video>"},
    {Kind::Media, "<video><source src='%1'></video>"},
    {Kind::Media, "<audio src='%1'></audio>"},
    {Kind::Media, "<audio><source src='%1' type='audio/mpeg'></audio>"},
    {Kind::Media, "<video src='%1'></video>", "http://evil.test"},
    {Kind::Other, "<script src='%1'></script>"},
    {Kind::Other, "<link rel='icon' href='%1'>"},
    {Kind::Other, "<link rel='manifest' href='%1'>"},
    {Kind::Other, "<svg><use href='%1#a'/></svg>"},
};

// The portal's video, which "显示视频" lets through.
const std::vector<std::string> kPortalMedia = {"<video src='%1'></video>",
                                               "<video><source src='%1'></video>"};

std::string AddressOf(const std::string& host, std::size_t index) {
  return host + "/v/" + std::to_string(index);
}

QString PageOfAllVectors() {
  QString html = QStringLiteral("<html><head><title>取数</title></head><body><p>正文</p>");
  for (std::size_t i = 0; i < kVectors.size(); ++i)
    html +=
        QString::fromUtf8(kVectors[i].markup)
            .replace(QStringLiteral("%1"), QString::fromStdString(AddressOf(kVectors[i].host, i)))
            .replace(QStringLiteral("%2"), QString::number(i));
  for (std::size_t i = 0; i < kPortalMedia.size(); ++i)
    html +=
        QString::fromStdString(kPortalMedia[i])
            .replace(QStringLiteral("%1"), QString::fromStdString(AddressOf(kVideoHost, 100 + i)));
  return html + QStringLiteral("</body></html>");
}

// How many requests each vector made (the portal's video under 100 and up).
std::map<std::size_t, int> RequestsPerVector(const langxing::testportal::TestPortal& portal) {
  std::map<std::size_t, int> counts;
  for (const std::string& url : portal.Requests()) {
    const std::size_t at = url.find("/v/");
    if (at == std::string::npos) continue;
    ++counts[std::stoul(url.substr(at + 3))];
  }
  return counts;
}

int CountOf(const std::map<std::size_t, int>& counts, std::size_t vector) {
  const auto found = counts.find(vector);
  return found == counts.end() ? 0 : found->second;
}

// Lets the page make whatever requests it will: a second past its load, and past the last
// request seen.
void Settle(const langxing::testportal::TestPortal& portal) {
  std::size_t seen = portal.Requests().size();
  for (int quiet = 0; quiet < 4;) {
    QTest::qWait(500);
    const std::size_t now = portal.Requests().size();
    quiet = now == seen ? quiet + 1 : 0;
    seen = now;
  }
}

TEST(ArticleViewFetches, NothingButWhatTheOptionsAllow) {
  langxing::testportal::TestPortal portal(std::filesystem::path{});
  langxing::testportal::ScopedProxy proxy(portal);
  const QString html = PageOfAllVectors();
  const QString article = QStringLiteral("http://news.sina.com.cn/c/vectors.shtml");

  // The control: a plain view of the engine, on a profile of its own (off the record).
  std::map<std::size_t, int> plain;
  {
    QWebEngineProfile profile;
    QWebEnginePage page(&profile);
    QWebEngineView view;
    view.setPage(&page);
    view.resize(600, 400);
    view.show();
    QSignalSpy loaded(&view, &QWebEngineView::loadFinished);
    view.setHtml(html, QUrl(article));
    ASSERT_TRUE(loaded.wait(kWaitMs));
    Settle(portal);
    plain = RequestsPerVector(portal);
    view.setPage(nullptr);
  }

  struct Options {
    const char* name;
    bool pictures, video;
  };
  std::map<std::string, std::map<std::size_t, int>> counts;
  for (const Options& options :
       {Options{"both cleared", false, false}, Options{"显示图像", true, false},
        Options{"显示视频", false, true}}) {
    SCOPED_TRACE(options.name);
    portal.ClearRequests();
    ArticleView view;  // a new profile: it reads the proxy set above
    view.resize(600, 400);
    view.show();
    view.SetSilent(true);
    view.SetLoadImages(options.pictures);
    view.SetLoadVideo(options.video);
    // The load may end short of complete (a picture the portal never answers, say): what
    // counts here is what was asked for.
    QSignalSpy loaded(&view, &QWebEngineView::loadFinished);
    view.WriteDocument(html.toStdU16String(), article.toStdU16String());
    ASSERT_TRUE(!loaded.isEmpty() || loaded.wait(kWaitMs));
    if (!loaded.first().value(0).toBool()) std::cout << options.name << ": load ended short\n";
    Settle(portal);
    counts[options.name] = RequestsPerVector(portal);
    if (options.pictures) {
      // The portal's picture host answers only pages of the portal: it is told the article's
      // site, as a browser showing the article would tell it.
      const auto headers = portal.RequestHeaders(AddressOf("http://n.sinaimg.cn", 13));
      EXPECT_NE(std::find(headers.begin(), headers.end(), "Referer: http://news.sina.com.cn/"),
                headers.end());
    }
  }

  std::cout << "requests per kind: plain view / both cleared / 显示图像 / 显示视频\n";
  std::map<Kind, std::vector<int>> perKind;
  for (std::size_t i = 0; i < kVectors.size(); ++i) {
    auto& row = perKind[kVectors[i].kind];
    row.resize(4);
    row[0] += CountOf(plain, i);
    row[1] += CountOf(counts["both cleared"], i);
    row[2] += CountOf(counts["显示图像"], i);
    row[3] += CountOf(counts["显示视频"], i);
  }
  for (const auto& [kind, row] : perKind)
    std::cout << "  " << NameOf(kind) << ": " << row[0] << " / " << row[1] << " / " << row[2]
              << " / " << row[3] << "\n";

  int live = 0;
  for (std::size_t i = 0; i < kVectors.size(); ++i) {
    const Vector& v = kVectors[i];
    const std::string name = std::string(NameOf(v.kind)) + " " + v.markup + " " + v.host;
    live += CountOf(plain, i) > 0;
    if (CountOf(plain, i) == 0)
      std::cout << "  not fetched in a plain view either: " << name << "\n";
    EXPECT_EQ(CountOf(counts["both cleared"], i), 0) << name;
    // Video and sound (and the objects that would play them) of the portal's own hosts go out
    // when "显示视频" is ticked; nothing else does.
    const bool portalMedia = (v.kind == Kind::Media || v.kind == Kind::Object) &&
                             std::string(v.host).ends_with(".sina.com.cn");
    if (!portalMedia) {
      EXPECT_EQ(CountOf(counts["显示视频"], i), 0) << name;
    }
    // Pictures, from the portal's picture host too, go out when their option is ticked, and
    // nothing else does.
    if (v.kind == Kind::Picture && CountOf(plain, i) > 0) {
      EXPECT_GT(CountOf(counts["显示图像"], i), 0) << name;
    }
    if (v.kind != Kind::Picture) {
      EXPECT_EQ(CountOf(counts["显示图像"], i), 0) << name;
    }
  }
  for (std::size_t i = 0; i < kPortalMedia.size(); ++i) {
    EXPECT_GT(CountOf(plain, 100 + i), 0) << kPortalMedia[i];
    EXPECT_EQ(CountOf(counts["both cleared"], 100 + i), 0) << kPortalMedia[i];
    EXPECT_EQ(CountOf(counts["显示图像"], 100 + i), 0) << kPortalMedia[i];
    EXPECT_GT(CountOf(counts["显示视频"], 100 + i), 0) << kPortalMedia[i];
  }
  std::cout << live << " of " << kVectors.size() << " ways fetch in a plain view\n";
  // Every kind is live in the control, so the zeros above are the view's doing.
  for (const auto& [kind, row] : perKind) EXPECT_GT(row[0], 0) << NameOf(kind);
}

}  // namespace
