// SPDX-License-Identifier: GPL-3.0-or-later
// A local stand-in for the news portal. It listens on a free loopback port and answers the
// absolute-form requests an HTTP client sends to a proxy (GET http://news.sina.com.cn/a.shtml),
// so the program keeps the portal's real host names while tests point http_proxy at it.
// Requests in origin form (GET /a.shtml with a Host header) are answered too.
#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace langxing::testportal {

class TestCertificateAuthority;

struct Page {                             // one canned response
  std::string body;                       // bytes as served (GBK for most portal pages)
  std::string contentType = "text/html";  // sent as is (no charset unless a fixture wants one)
  int status = 200;
  std::chrono::milliseconds delay{0};  // wait before answering
  // Stall: accept and never answer (until the portal stops). Oversized: stream a body of
  // 64 MiB in slow chunks, so a client's size cap cuts it. Close: send the head of a response
  // and drop the connection before the promised body arrives.
  enum class Behaviour { Normal, Stall, Oversized, Close } behaviour = Behaviour::Normal;
};

// The fixture set shipped with the tests: tests/fixtures/portal.
std::filesystem::path DefaultFixtureRoot();

class TestPortal {
 public:
  TestPortal();                                             // loads DefaultFixtureRoot()
  explicit TestPortal(std::filesystem::path fixtureRoot);   // an empty path loads nothing
  TestPortal(std::filesystem::path fixtureRoot, int port);  // a fixed port; 0 picks a free one
  ~TestPortal();  // stops promptly, even with stalled requests
  TestPortal(const TestPortal&) = delete;
  TestPortal& operator=(const TestPortal&) = delete;

  int Port() const;
  std::string ProxyUrl() const;  // "http://127.0.0.1:PORT"

  // Starts answering https as well: a proxy port that answers "CONNECT host:443" by tunnelling
  // to a TLS server with a certificate for the portal's hosts, signed by a test CA made now
  // (and passes plain proxy requests on to the http side). Pages are looked up by their https
  // address. Calling it again changes nothing. Throws when a server cannot start.
  void EnableTls();
  // The proxy for https (and http) addresses once TLS is on; ProxyUrl() before.
  std::string HttpsProxyUrl() const;
  // The test CA's certificate as a PEM file, for CURL_CA_BUNDLE; empty before EnableTls().
  std::filesystem::path CaBundlePath() const;
  // The test CA itself, for certificates a test makes under it; EnableTls() first.
  const TestCertificateAuthority& Authority() const;
  // Sends https for `host` to another TLS server on a loopback port (one presenting a chain of
  // the test's own) instead of the portal's; EnableTls() first.
  void RouteHttps(const std::string& host, int tlsPort);

  // Answers for addresses no page was set for; nullopt gives the 404 page.
  using PageGenerator = std::function<std::optional<Page>(const std::string& absoluteUrl)>;
  void SetPageGenerator(PageGenerator generator);

  void SetPage(const std::string& absoluteUrl, Page page);            // add or replace at run time
  std::optional<Page> PageFor(const std::string& absoluteUrl) const;  // what that URL serves
  std::vector<std::string> Requests() const;  // absolute URLs requested, in order
  // Header lines ("Name: value") of the latest request for that URL; empty if never requested.
  std::vector<std::string> RequestHeaders(const std::string& absoluteUrl) const;
  void ClearRequests();

  // Stops answering: stalled and delayed requests are released, the listener closes.
  // The destructor calls it; calling it twice is harmless.
  void Stop();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// Points http_proxy/HTTP_PROXY and https_proxy/HTTPS_PROXY at the portal (https at its TLS
// proxy when TLS is on) and clears
// no_proxy/NO_PROXY for its lifetime; restores the previous environment afterwards.
class ScopedProxy {
 public:
  explicit ScopedProxy(const TestPortal& portal);
  ~ScopedProxy();
  ScopedProxy(const ScopedProxy&) = delete;
  ScopedProxy& operator=(const ScopedProxy&) = delete;

 private:
  std::map<std::string, std::optional<std::string>> saved_;
};

// Points CURL_CA_BUNDLE at the portal's test CA (EnableTls first) for its lifetime; restores
// the previous value afterwards.
class ScopedCaBundle {
 public:
  explicit ScopedCaBundle(const TestPortal& portal);
  ~ScopedCaBundle();
  ScopedCaBundle(const ScopedCaBundle&) = delete;
  ScopedCaBundle& operator=(const ScopedCaBundle&) = delete;

 private:
  std::optional<std::string> saved_;
};

// Text -> GBK bytes (glibc iconv, "GB18030"), for tests that build pages on the fly.
std::string ToGbk(std::string_view utf8);
// GBK bytes -> UTF-8 text; malformed input gives std::nullopt.
std::optional<std::string> FromGbk(std::string_view gbk);

}  // namespace langxing::testportal
