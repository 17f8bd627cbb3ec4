// SPDX-License-Identifier: GPL-3.0-or-later
// A today's article in the window, end to end over https: the program's download and the
// article view's pictures both go through the local portal's TLS proxy and its test CA (the
// portal sends its certificate alone, as a server under a root CA does).
#include <QCheckBox>

#include "tests/app/chain_server.hpp"
#include "tests/app/reader_harness.hpp"
#include "tests/portal/images.hpp"
#include "tests/portal/test_ca.hpp"
#include "tests/support/window_controls.hpp"

namespace {

using langxing::testportal::CertificateSpec;
using langxing::testportal::Page;
using langxing::testportal::SolidPng;
using langxing::testportal::TestCertificate;

constexpr const char* kArticle = "https://news.sina.com.cn/c/2026-01-01/doc-itoday01.shtml";
constexpr const char* kPicture = "https://n.sinaimg.cn/news/today/a.jpg";
constexpr const char* kLazyPicture = "https://n.sinaimg.cn/news/today/b.jpg";

class TodayReaderTest : public ReaderHarness {
 protected:
  TodayReaderTest() {
    portal.SetPage(kArticle,
                   Page{.body = "<!DOCTYPE html><html><head><meta charset=\"utf-8\"></head><body>"
                                "<h1 class=\"main-title\">今日要闻</h1><div class=\"date-source\">"
                                "<span class=\"date\">2026年01月01日 08:00</span>"
                                "<a class=\"source\">新华社</a></div><div id=\"article\">"
                                "<p>第一段正文。</p><img src=\"//n.sinaimg.cn/news/today/a.jpg\">"
                                "<p><img src=\"//n.sinaimg.cn/blank.gif\" "
                                "data-src=\"//n.sinaimg.cn/news/today/b.jpg\"></p>"
                                "<div class=\"appendQr_wrap\">扫码</div></div></body></html>",
                        .contentType = "text/html; charset=utf-8"});
    for (const char* picture : {kPicture, kLazyPicture}) {
      portal.SetPage(picture,
                     Page{.body = SolidPng(64, 48, {200, 40, 40}), .contentType = "image/png"});
    }
  }

  const std::u16string entry_ =
      u"今日要闻;url=https://news.sina.com.cn/c/2026-01-01/doc-itoday01.shtml";
};

TEST_F(TodayReaderTest, ArticleAndItsPicturesShowThroughTheTlsProxy) {
  ASSERT_TRUE(ShowsWrite([&] { form.List2_Click(AddHeadline(entry_)); }));
  EXPECT_EQ(statusTexts, RenderStatusTexts);
  EXPECT_EQ(Script(QStringLiteral("document.querySelector('h3').innerText")),
            QStringLiteral("今日要闻"));
  EXPECT_EQ(Script(QStringLiteral("document.querySelector('p').innerText")),
            QStringLiteral("2026年01月01日 08:00 新华社"));
  EXPECT_EQ(Script(QStringLiteral("getComputedStyle(document.querySelector('p')).textAlign")),
            QStringLiteral("center"));
  EXPECT_FALSE(Script(QStringLiteral("document.body.innerText")).contains(QStringLiteral("扫码")));

  // Both pictures arrive over https, the lazy one from its data-src, and decode.
  const QString sizes = QStringLiteral(
      "Array.from(document.images).map(i => i.complete + ':' + i.naturalWidth).join()");
  EXPECT_TRUE(
      QTest::qWaitFor([&] { return Script(sizes) == QStringLiteral("true:64,true:64"); }, kWaitMs))
      << Script(sizes).toStdString();
  for (const char* picture : {kPicture, kLazyPicture}) {
    EXPECT_FALSE(portal.RequestHeaders(picture).empty()) << picture;
  }

  // With "显示图像" cleared the next render requests no picture at all.
  controls.Check1->setChecked(false);
  portal.ClearRequests();
  ASSERT_TRUE(ShowsWrite([&] { form.ReloadArticle(); }));
  Settle();
  ASSERT_FALSE(portal.Requests().empty());  // the article itself
  for (const std::string& url : portal.Requests()) {
    EXPECT_EQ(url.find("sinaimg"), std::string::npos) << url;
  }
}

// The view trusts the bundle the user chose, not any certificate: under another CA's bundle the
// portal's picture is refused before a request reaches it.
TEST_F(TodayReaderTest, PictureUnderAnotherCaIsRefused) {
  const langxing::testportal::TestCertificateAuthority stranger({"*.sinaimg.cn"});
  setenv("CURL_CA_BUNDLE", stranger.CaPemPath().c_str(), 1);  // the harness restores it
  ASSERT_TRUE(ShowsWrite([&] {
    View().WriteDocument(u"<body><img src=\"https://n.sinaimg.cn/news/today/a.jpg\"></body>",
                         u"https://news.sina.com.cn/c/2026-01-01/doc-itoday01.shtml");
  }));
  const QString state =
      QStringLiteral("document.images[0].complete + ':' + document.images[0].naturalWidth");
  EXPECT_TRUE(QTest::qWaitFor([&] { return Script(state) == QStringLiteral("true:0"); }, kWaitMs))
      << Script(state).toStdString();
  EXPECT_TRUE(portal.RequestHeaders(kPicture).empty());
}

// Only a chain the bundle verifies shows: the portal's picture host, whose certificate its CA
// signed, is shown; hosts whose servers present another key under a look-alike of that CA, or a
// self-signed certificate, each beside the real CA, are refused after the handshake, before any
// request reaches them.
TEST_F(TodayReaderTest, PicturesShowOnlyUnderAChainTheBundleVerifies) {
  const TestCertificate& ca = portal.Authority().Ca();
  const TestCertificate lookalike(
      {.authority = true, .extendedUsage = {}, .lookalikeOf = ca.Certificate()}, nullptr);
  const CertificateSpec pictures{.commonName = "n.sinaimg.cn", .hosts = {"*.sinaimg.cn"}};
  const TestCertificate forged(pictures, &lookalike);
  const TestCertificate selfSigned(pictures, nullptr);
  ChainServer forgedServer({&forged, &ca});
  ChainServer selfSignedServer({&selfSigned, &ca});
  const std::string png = SolidPng(64, 48, {40, 40, 200});
  forgedServer.server().Serve("/a.png", png, "image/png");
  selfSignedServer.server().Serve("/a.png", png, "image/png");
  portal.RouteHttps("forged.sinaimg.cn", forgedServer.port());
  portal.RouteHttps("self.sinaimg.cn", selfSignedServer.port());

  ASSERT_TRUE(ShowsWrite([&] {
    View().WriteDocument(
        u"<body><img src=\"https://n.sinaimg.cn/news/today/a.jpg\">"
        u"<img src=\"https://forged.sinaimg.cn/a.png\">"
        u"<img src=\"https://self.sinaimg.cn/a.png\"></body>",
        u"https://news.sina.com.cn/c/2026-01-01/doc-itoday01.shtml");
  }));
  const QString sizes = QStringLiteral(
      "Array.from(document.images).map(i => i.complete + ':' + i.naturalWidth).join()");
  EXPECT_TRUE(QTest::qWaitFor(
      [&] { return Script(sizes) == QStringLiteral("true:64,true:0,true:0"); }, kWaitMs))
      << Script(sizes).toStdString();
  for (ChainServer* server : {&forgedServer, &selfSignedServer}) {
    EXPECT_GT(server->server().Handshakes(), 0);
    EXPECT_EQ(server->server().Hits("/a.png"), 0);
  }
}

}  // namespace
