// SPDX-License-Identifier: GPL-3.0-or-later
// What the portal must really do for other suites to mean anything: a page the portal served in
// GBK arrives in GBK, a delayed page comes late, and a certificate the test CA did not make for
// the host is refused. The rest of its plumbing fails loudly in every suite that drives it.
#include <curl/curl.h>
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "tests/portal/test_portal.hpp"

namespace langxing::testportal {
namespace {

struct Fetched {
  CURLcode code = CURLE_OK;
  long status = 0;
  std::string body;
};

std::size_t Append(char* data, std::size_t size, std::size_t count, void* target) {
  static_cast<std::string*>(target)->append(data, size * count);
  return size * count;
}

// One GET through `proxy`; `caFile`, when given, is the only CA trusted for https.
Fetched Get(const std::string& url, const std::string& proxy, const std::string& caFile = "") {
  Fetched result;
  CURL* curl = curl_easy_init();
  curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
  if (!caFile.empty()) curl_easy_setopt(curl, CURLOPT_CAINFO, caFile.c_str());
  curl_easy_setopt(curl, CURLOPT_PROXY, proxy.c_str());
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, Append);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &result.body);
  curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, 10'000L);
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  result.code = curl_easy_perform(curl);
  curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &result.status);
  curl_easy_cleanup(curl);
  return result;
}

TEST(TestPortal, GbkPagesReachTheClientInGbk) {
  // A page that slipped through in UTF-8 would let a test of the program's decoding pass
  // without any decoding done.
  TestPortal portal;
  const struct {
    const char* url;
    std::string gbk, utf8;  // one text of the page in either encoding
  } cases[] = {
      {"http://news.sina.com.cn/china/index_list.shtml", "\xB9\xFA\xC4\xDA\xD0\xC2\xCE\xC5",
       "国内新闻"},
      {"http://news.sina.com.cn/c/2010-05-01/083020191234.shtml", "\xD0\xC2\xC0\xCB", "新浪"},
      {"http://auto.sina.com.cn/news/2010-05-01/0812581234.shtml", "\xD0\xC2\xC0\xCB", "新浪"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.url);
    const Fetched page = Get(c.url, portal.ProxyUrl());
    ASSERT_EQ(page.code, CURLE_OK);
    EXPECT_EQ(page.status, 200);
    EXPECT_NE(page.body.find(c.gbk), std::string::npos);
    EXPECT_EQ(page.body.find(c.utf8), std::string::npos);
  }
}

// The suites build their own GBK pages with ToGbk.
TEST(Gbk, RoundTripsChineseText) {
  const std::string gbk = ToGbk("新浪网");
  EXPECT_EQ(gbk, "\xD0\xC2\xC0\xCB\xCD\xF8");
  EXPECT_EQ(FromGbk(gbk), "新浪网");
  EXPECT_THROW(ToGbk("\xFF\xFE"), std::invalid_argument);
  EXPECT_EQ(FromGbk("\x81"), std::nullopt);  // a lead byte without its trail
}

// Tests of a click superseded while its page loads rely on the page coming late.
TEST(TestPortal, DelayedPageArrivesAfterItsDelay) {
  TestPortal portal;
  portal.SetPage("http://news.sina.com.cn/d.shtml",
                 Page{.body = "late", .delay = std::chrono::milliseconds(300)});
  const auto start = std::chrono::steady_clock::now();
  const Fetched page = Get("http://news.sina.com.cn/d.shtml", portal.ProxyUrl());
  EXPECT_EQ(page.body, "late");
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(300));
}

// Tests that the program refuses a certificate rely on the portal's being refused wherever the
// test CA is not trusted or does not vouch for the host; with it, the same page loads.
TEST(TestPortal, HttpsIsTrustedOnlyUnderTheTestCaForThePortalsHosts) {
  TestPortal portal;
  portal.EnableTls();
  const std::string today = "https://news.sina.com.cn/c/today.shtml";
  portal.SetPage(today, Page{.body = "<p>今日</p>"});
  const std::string ca = portal.CaBundlePath().string();
  const struct {
    const char* name;
    std::string url, caFile;
    CURLcode code;
  } cases[] = {
      {"https with the test CA", today, ca, CURLE_OK},
      {"without the test CA", today, "/etc/ssl/certs/ca-certificates.crt",
       CURLE_PEER_FAILED_VERIFICATION},
      {"a host the certificate does not name", "https://example.org/", ca,
       CURLE_PEER_FAILED_VERIFICATION},
  };
  for (const auto& c : cases) {
    const Fetched fetched = Get(c.url, portal.HttpsProxyUrl(), c.caFile);
    EXPECT_EQ(fetched.code, c.code) << c.name << ": " << curl_easy_strerror(fetched.code);
    if (c.code == CURLE_OK) {
      EXPECT_EQ(fetched.body, "<p>今日</p>") << c.name;
    }
  }
}

}  // namespace
}  // namespace langxing::testportal
