// SPDX-License-Identifier: GPL-3.0-or-later
// The portal answers proxied requests from its fixtures, by the behaviour each page asks for.
#include <curl/curl.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "tests/portal/test_portal.hpp"

namespace langxing::testportal {
namespace {

struct Fetched {
  CURLcode code = CURLE_OK;
  long status = 0;
  std::string body;
  std::string contentType;
};

std::size_t Append(char* data, std::size_t size, std::size_t count, void* target) {
  auto* body = static_cast<std::string*>(target);
  body->append(data, size * count);
  return body->size() > 40u * 1024u * 1024u ? 0 : size * count;  // a cap, like the program's
}

// One GET through `proxy` ("" means: take the proxy from the environment).
// `caFile`, when given, is the only CA trusted for https.
Fetched Get(const std::string& url, const std::string& proxy, long timeoutMs = 10'000,
            const std::vector<std::string>& headers = {}, const std::string& caFile = "") {
  Fetched result;
  CURL* curl = curl_easy_init();
  curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
  if (!caFile.empty()) curl_easy_setopt(curl, CURLOPT_CAINFO, caFile.c_str());
  if (!proxy.empty()) curl_easy_setopt(curl, CURLOPT_PROXY, proxy.c_str());
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, Append);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &result.body);
  curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, timeoutMs);
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_slist* list = nullptr;
  for (const std::string& header : headers) list = curl_slist_append(list, header.c_str());
  curl_easy_setopt(curl, CURLOPT_HTTPHEADER, list);
  result.code = curl_easy_perform(curl);
  curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &result.status);
  char* type = nullptr;
  if (curl_easy_getinfo(curl, CURLINFO_CONTENT_TYPE, &type) == CURLE_OK && type)
    result.contentType = type;
  curl_slist_free_all(list);
  curl_easy_cleanup(curl);
  return result;
}

constexpr const char* kNormalListing = "http://news.sina.com.cn/china/index_list.shtml";
constexpr const char* kBlogArticle = "http://blog.sina.com.cn/s/blog_4b0f52990100i7xz.html";

TEST(TestPortal, ServesGbkFixtureThroughProxy) {
  TestPortal portal;
  const Fetched page = Get(kNormalListing, portal.ProxyUrl());
  ASSERT_EQ(page.code, CURLE_OK);
  EXPECT_EQ(page.status, 200);
  EXPECT_EQ(page.contentType, "text/html");
  // "国内新闻" in GBK, and no UTF-8 form of it.
  EXPECT_NE(page.body.find("\xB9\xFA\xC4\xDA\xD0\xC2\xCE\xC5"), std::string::npos);
  EXPECT_EQ(page.body.find("国内新闻"), std::string::npos);
  EXPECT_NE(page.body.find("<tr bgcolor=\"#EEEEEE\">\r\n"), std::string::npos);
  const auto text = FromGbk(page.body);
  ASSERT_TRUE(text.has_value());
  EXPECT_NE(text->find("北京地铁四号线今日起试运营"), std::string::npos);
  EXPECT_EQ(portal.Requests(), std::vector<std::string>{kNormalListing});
}

TEST(TestPortal, ServesUtf8FixtureUntranscoded) {
  TestPortal portal;
  const Fetched page = Get(kBlogArticle, portal.ProxyUrl());
  ASSERT_EQ(page.code, CURLE_OK);
  EXPECT_NE(page.body.find("<!-- 正文开始 -->"), std::string::npos);
}

TEST(TestPortal, UnknownAddressIs404WithHtmlBody) {
  TestPortal portal;
  const Fetched page = Get("http://news.sina.com.cn/no/such/page.shtml", portal.ProxyUrl());
  ASSERT_EQ(page.code, CURLE_OK);
  EXPECT_EQ(page.status, 404);
  EXPECT_NE(page.body.find("<html>"), std::string::npos);
}

TEST(TestPortal, AnswersOriginFormRequestsByHostHeader) {
  TestPortal portal;
  // No proxy: the request goes to the portal itself with "GET /china/index_list.shtml".
  const Fetched page =
      Get("http://127.0.0.1:" + std::to_string(portal.Port()) + "/china/index_list.shtml", "",
          10'000, {"Host: news.sina.com.cn"});
  ASSERT_EQ(page.code, CURLE_OK);
  EXPECT_EQ(page.status, 200);
  EXPECT_EQ(portal.Requests(), std::vector<std::string>{kNormalListing});
}

TEST(TestPortal, SetPageAddsAndReplacesPages) {
  TestPortal portal;
  portal.SetPage(kNormalListing,
                 Page{.body = "replaced", .contentType = "text/plain; charset=gbk", .status = 203});
  portal.SetPage("http://sports.sina.com.cn", Page{.body = "new"});

  const Fetched replaced = Get(kNormalListing, portal.ProxyUrl());
  EXPECT_EQ(replaced.status, 203);
  EXPECT_EQ(replaced.body, "replaced");
  EXPECT_EQ(replaced.contentType, "text/plain; charset=gbk");
  // An address without a path is the same page as its "/".
  EXPECT_EQ(Get("http://SPORTS.sina.com.cn/", portal.ProxyUrl()).body, "new");
  ASSERT_TRUE(portal.PageFor("http://sports.sina.com.cn/").has_value());
  EXPECT_EQ(portal.PageFor("http://sports.sina.com.cn/")->body, "new");
}

TEST(TestPortal, RecordsRequestsAndTheirHeaders) {
  TestPortal portal;
  Get(kNormalListing, portal.ProxyUrl(), 10'000, {"If-Modified-Since: 0"});
  Get("http://news.sina.com.cn/missing/x.shtml", portal.ProxyUrl());
  EXPECT_EQ(portal.Requests(),
            (std::vector<std::string>{kNormalListing, "http://news.sina.com.cn/missing/x.shtml"}));
  const auto headers = portal.RequestHeaders(kNormalListing);
  EXPECT_NE(std::find(headers.begin(), headers.end(), "If-Modified-Since: 0"), headers.end());
  EXPECT_NE(std::find(headers.begin(), headers.end(), "Host: news.sina.com.cn"), headers.end());
  EXPECT_TRUE(portal.RequestHeaders("http://news.sina.com.cn/never.shtml").empty());
  portal.ClearRequests();
  EXPECT_TRUE(portal.Requests().empty());
}

TEST(TestPortal, ScrapedLinkWithTrailingBlankFindsItsPage) {
  TestPortal portal;
  const Fetched page = Get(std::string(kBlogArticle) + "%20", portal.ProxyUrl());
  EXPECT_EQ(page.status, 200);
}

TEST(TestPortal, RedirectAddressForwardsToItsTarget) {
  TestPortal portal;
  CURL* curl = curl_easy_init();
  std::string body;
  curl_easy_setopt(
      curl, CURLOPT_URL,
      "http://go.sina.com.cn/?url=http://news.sina.com.cn/c/2010-05-01/083020191234.shtml");
  curl_easy_setopt(curl, CURLOPT_PROXY, portal.ProxyUrl().c_str());
  curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, Append);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &body);
  ASSERT_EQ(curl_easy_perform(curl), CURLE_OK);
  curl_easy_cleanup(curl);
  const auto text = FromGbk(body);
  ASSERT_TRUE(text.has_value());
  EXPECT_NE(text->find("<!-- 内容列 begin -->"), std::string::npos);
  EXPECT_EQ(portal.Requests().back(), "http://news.sina.com.cn/c/2010-05-01/083020191234.shtml");
}

TEST(TestPortal, DelayedPageArrivesAfterItsDelay) {
  TestPortal portal;
  portal.SetPage("http://news.sina.com.cn/d.shtml",
                 Page{.body = "late", .delay = std::chrono::milliseconds(300)});
  const auto start = std::chrono::steady_clock::now();
  const Fetched page = Get("http://news.sina.com.cn/d.shtml", portal.ProxyUrl());
  EXPECT_EQ(page.body, "late");
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(300));
}

TEST(TestPortal, MisbehavingPagesFailTheTransfer) {
  TestPortal portal;
  struct Case {
    const char* url;
    long timeoutMs;
    CURLcode expected;
  };
  const Case cases[] = {
      {"http://news.sina.com.cn/stall/index_list.shtml", 500, CURLE_OPERATION_TIMEDOUT},
      {"http://news.sina.com.cn/close/index_list.shtml", 5'000, CURLE_PARTIAL_FILE},
      // The test's write callback stops at 40 MiB, well before the stream ends.
      {"http://news.sina.com.cn/oversized/index_list.shtml", 20'000, CURLE_WRITE_ERROR},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.url);
    EXPECT_EQ(Get(c.url, portal.ProxyUrl(), c.timeoutMs).code, c.expected);
  }
}

TEST(TestPortal, StopsPromptlyWithStalledRequests) {
  auto portal = std::make_unique<TestPortal>();
  const std::string proxy = portal->ProxyUrl();
  const char* const urls[] = {"http://news.sina.com.cn/stall/index_list.shtml",
                              "http://news.sina.com.cn/c/2010-05-01/stall.shtml",
                              "http://news.sina.com.cn/oversized/index_list.shtml"};
  Fetched fetched[std::size(urls)];
  std::vector<std::thread> clients;
  for (std::size_t i = 0; i < std::size(urls); ++i) {
    clients.emplace_back([&, i] { fetched[i] = Get(urls[i], proxy, 30'000); });
  }
  while (portal->Requests().size() < 3) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  const auto start = std::chrono::steady_clock::now();
  portal.reset();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
  for (auto& client : clients) client.join();
  // The stop released the stalled requests with 503 and cut the endless stream short; none of
  // them ran to the client's time-out.
  for (std::size_t i = 0; i < 2; ++i) {
    EXPECT_EQ(fetched[i].code, CURLE_OK) << urls[i];
    EXPECT_EQ(fetched[i].status, 503) << urls[i];
  }
  EXPECT_NE(fetched[2].code, CURLE_OK);
  EXPECT_NE(fetched[2].code, CURLE_OPERATION_TIMEDOUT);
}

TEST(TestPortal, StopsRightAfterConstruction) {
  // A stop that came before the accept loop ran used to leave the destructor waiting forever.
  for (int i = 0; i < 50; ++i) {
    TestPortal portal;
    const std::string proxy = portal.ProxyUrl();
    portal.Stop();
    // Stopped means the listener is closed: nothing answers on its port any more.
    EXPECT_EQ(Get("http://news.sina.com.cn/", proxy, 2'000).code, CURLE_COULDNT_CONNECT) << i;
  }
}

TEST(TestPortal, AnswersHttpsThroughItsTlsProxy) {
  TestPortal portal;
  portal.EnableTls();
  const std::string proxy = portal.HttpsProxyUrl();
  portal.EnableTls();  // a second call changes nothing
  EXPECT_EQ(portal.HttpsProxyUrl(), proxy);
  EXPECT_NE(proxy, portal.ProxyUrl());
  const std::string today = "https://news.sina.com.cn/c/today.shtml";
  portal.SetPage(today, Page{.body = "<p>今日</p>"});
  const std::string ca = portal.CaBundlePath().string();
  const struct {
    const char* name;
    std::string url, caFile;
    CURLcode code;
    long status;
  } cases[] = {
      {"https with the test CA", today, ca, CURLE_OK, 200},
      {"plain http through the same proxy", kNormalListing, "", CURLE_OK, 200},
      {"pages are keyed by scheme", "https://news.sina.com.cn/china/index_list.shtml", ca, CURLE_OK,
       404},
      {"the picture host is covered", "https://n.sinaimg.cn/a.jpg", ca, CURLE_OK, 404},
      {"without the test CA", today, "/etc/ssl/certs/ca-certificates.crt",
       CURLE_PEER_FAILED_VERIFICATION, 0},
      {"a host the certificate does not name", "https://example.org/", ca,
       CURLE_PEER_FAILED_VERIFICATION, 0},
  };
  for (const auto& c : cases) {
    const Fetched fetched = Get(c.url, proxy, 10'000, {}, c.caFile);
    EXPECT_EQ(fetched.code, c.code) << c.name << ": " << curl_easy_strerror(fetched.code);
    EXPECT_EQ(fetched.status, c.status) << c.name;
  }
  EXPECT_EQ(Get(today, proxy, 10'000, {}, ca).body, "<p>今日</p>");
}

TEST(ScopedProxy, SetsAndRestoresTheProxyEnvironment) {
  setenv("http_proxy", "http://old.example:1", 1);
  unsetenv("HTTP_PROXY");
  setenv("no_proxy", "*", 1);
  {
    TestPortal portal;
    ScopedProxy proxy(portal);
    EXPECT_EQ(std::string(std::getenv("http_proxy")), portal.ProxyUrl());
    EXPECT_EQ(std::string(std::getenv("HTTP_PROXY")), portal.ProxyUrl());
    EXPECT_EQ(std::string(std::getenv("https_proxy")), portal.ProxyUrl());
    EXPECT_EQ(std::getenv("no_proxy"), nullptr);
    // libcurl takes the proxy from the environment.
    EXPECT_EQ(Get(kNormalListing, "").status, 200);
  }
  EXPECT_EQ(std::string(std::getenv("http_proxy")), "http://old.example:1");
  EXPECT_EQ(std::getenv("HTTP_PROXY"), nullptr);
  EXPECT_EQ(std::string(std::getenv("no_proxy")), "*");
  unsetenv("http_proxy");
  unsetenv("no_proxy");
}

TEST(Gbk, RoundTripsChineseText) {
  const std::string gbk = ToGbk("新浪网");
  EXPECT_EQ(gbk, "\xD0\xC2\xC0\xCB\xCD\xF8");
  EXPECT_EQ(FromGbk(gbk), "新浪网");
  EXPECT_THROW(ToGbk("\xFF\xFE"), std::invalid_argument);
  EXPECT_EQ(FromGbk("\x81"), std::nullopt);  // a lead byte without its trail
}

}  // namespace
}  // namespace langxing::testportal
