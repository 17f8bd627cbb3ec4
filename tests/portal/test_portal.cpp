// SPDX-License-Identifier: GPL-3.0-or-later
// The portal server: a cpp-httplib server on a loopback port answering from a table of pages.
#include "tests/portal/test_portal.hpp"

#include <httplib.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "tests/portal/connect_tunnel.hpp"
#include "tests/portal/fixture_set.hpp"
#include "tests/portal/page_markup.hpp"
#include "tests/portal/portal_url.hpp"
#include "tests/portal/test_ca.hpp"

namespace langxing::testportal {
namespace {

constexpr std::size_t kOversizedTotal = 64u * 1024u * 1024u;  // twice the client's cap
constexpr std::size_t kOversizedChunk = 256u * 1024u;
constexpr auto kOversizedPause = std::chrono::milliseconds(2);
// Redirect host of the portal's listings: ".../?url=ADDRESS" forwards to ADDRESS.
constexpr std::string_view kRedirectHost = "go.sina.com.cn";

std::string NotFoundBody(const std::string& url) {
  return "<html><head><title>404 Not Found</title></head><body><h1>404 Not Found</h1>"
         "<p>The page " +
         EscapeText(url) + " is not on this portal.</p></body></html>";
}

}  // namespace

struct TestPortal::Impl {
  httplib::Server server;
  std::thread listener;
  int port = 0;

  // The https side, made by EnableTls.
  std::unique_ptr<TestCertificateAuthority> authority;
  std::unique_ptr<httplib::SSLServer> tlsServer;
  std::thread tlsListener;
  std::unique_ptr<ConnectTunnel> tunnel;

  mutable std::mutex mutex;  // guards pages, generator, requests, headers
  std::map<std::string, Page> pages;
  PageGenerator generator;
  std::vector<std::string> requests;
  std::map<std::string, std::vector<std::string>> headers;

  std::mutex stopMutex;
  std::condition_variable stopSignal;
  std::atomic<bool> stopping{false};

  // Waits for `duration` or until the portal stops; true when it stopped.
  bool WaitOrStop(std::chrono::milliseconds duration) {
    std::unique_lock lock(stopMutex);
    return stopSignal.wait_for(lock, duration, [this] { return stopping.load(); });
  }
  void WaitForStop() {
    std::unique_lock lock(stopMutex);
    stopSignal.wait(lock, [this] { return stopping.load(); });
  }

  httplib::Server::HandlerResponse Serve(const httplib::Request& req, httplib::Response& res,
                                         bool overTls);
  void Record(const std::string& url, const httplib::Request& req);
  std::optional<Page> Find(const std::string& url) const;
};

void TestPortal::Impl::Record(const std::string& url, const httplib::Request& req) {
  std::vector<std::string> lines;
  for (const auto& [name, value] : req.headers) {
    // httplib adds these itself; they never came from the client.
    if (name == "REMOTE_ADDR" || name == "REMOTE_PORT" || name == "LOCAL_ADDR" ||
        name == "LOCAL_PORT") {
      continue;
    }
    lines.push_back(name + ": " + value);
  }
  std::lock_guard lock(mutex);
  requests.push_back(url);
  headers[NormaliseUrl(url)] = std::move(lines);
}

std::optional<Page> TestPortal::Impl::Find(const std::string& url) const {
  std::lock_guard lock(mutex);
  for (const std::string& key : LookupKeys(url)) {
    if (auto it = pages.find(key); it != pages.end()) return it->second;
  }
  return generator ? generator(NormaliseUrl(url)) : std::nullopt;
}

httplib::Server::HandlerResponse TestPortal::Impl::Serve(const httplib::Request& req,
                                                         httplib::Response& res, bool overTls) {
  using HandlerResponse = httplib::Server::HandlerResponse;
  if (req.method != "GET" && req.method != "HEAD") return HandlerResponse::Unhandled;

  // Inside the tunnel requests name their path only; the host is the one the TLS was for.
  const std::string url = overTls && req.target.starts_with('/')
                              ? "https://" + req.get_header_value("Host") + req.target
                              : AbsoluteUrlOf(req.target, req.get_header_value("Host"));
  Record(url, req);

  std::optional<Page> page = Find(url);
  if (!page) {
    if (auto target = RedirectTarget(url, kRedirectHost)) {
      res.status = 302;
      res.set_header("Location", *target);
      res.set_content("<html><body>Moved</body></html>", "text/html");
      return HandlerResponse::Handled;
    }
    res.status = 404;
    res.set_content(NotFoundBody(url), "text/html");
    return HandlerResponse::Handled;
  }

  if (page->delay.count() > 0 && WaitOrStop(page->delay)) {
    res.status = 503;
    return HandlerResponse::Handled;
  }

  switch (page->behaviour) {
    case Page::Behaviour::Stall:
      WaitForStop();
      res.status = 503;
      return HandlerResponse::Handled;

    case Page::Behaviour::Close: {
      // Promise a body, then fail the provider: the server drops the connection mid-response.
      res.status = page->status;
      res.set_content_provider(page->body.size() + 1024, page->contentType,
                               [](std::size_t, std::size_t, httplib::DataSink&) { return false; });
      return HandlerResponse::Handled;
    }

    case Page::Behaviour::Oversized: {
      res.status = page->status;
      const std::string chunk(kOversizedChunk, 'x');
      res.set_chunked_content_provider(page->contentType,
                                       [this, chunk](std::size_t offset, httplib::DataSink& sink) {
                                         if (offset >= kOversizedTotal) {
                                           sink.done();
                                           return true;
                                         }
                                         if (WaitOrStop(kOversizedPause)) return false;
                                         return sink.write(chunk.data(), chunk.size());
                                       });
      return HandlerResponse::Handled;
    }

    case Page::Behaviour::Normal:
      break;
  }

  res.status = page->status;
  res.set_content(std::move(page->body), page->contentType);
  return HandlerResponse::Handled;
}

std::filesystem::path DefaultFixtureRoot() {
  return std::filesystem::path(LANGXING_PORTAL_FIXTURES_DIR);
}

TestPortal::TestPortal() : TestPortal(DefaultFixtureRoot()) {}

TestPortal::TestPortal(std::filesystem::path fixtureRoot) : TestPortal(std::move(fixtureRoot), 0) {}

TestPortal::TestPortal(std::filesystem::path fixtureRoot, int port)
    : impl_(std::make_unique<Impl>()) {
  if (!fixtureRoot.empty()) {
    for (auto& [url, page] : LoadFixtureSet(fixtureRoot))
      impl_->pages[NormaliseUrl(url)] = std::move(page);
  }
  Impl* impl = impl_.get();
  // Stalled requests each hold a worker; keep enough for many at once.
  impl->server.new_task_queue = [] { return new httplib::ThreadPool(32); };
  impl->server.set_keep_alive_timeout(2);
  impl->server.set_keep_alive_max_count(1000);
  impl->server.set_tcp_nodelay(true);  // small answers go out at once, not after a delayed ACK
  impl->server.set_pre_routing_handler([impl](const httplib::Request& req, httplib::Response& res) {
    return impl->Serve(req, res, false);
  });
  if (port == 0) {
    impl->port = impl->server.bind_to_any_port("127.0.0.1");
  } else if (impl->server.bind_to_port("127.0.0.1", port)) {
    impl->port = port;
  }
  if (impl->port <= 0) throw std::runtime_error("TestPortal: cannot bind a loopback port");
  impl->listener = std::thread([impl] { impl->server.listen_after_bind(); });
  // The server's stop() does nothing until its accept loop runs; a portal stopped right after
  // construction would otherwise leave the listener (and the destructor's join) waiting forever.
  while (!impl->server.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

TestPortal::~TestPortal() { Stop(); }

void TestPortal::Stop() {
  if (!impl_ || !impl_->listener.joinable()) return;
  {
    std::lock_guard lock(impl_->stopMutex);
    impl_->stopping = true;
  }
  impl_->stopSignal.notify_all();
  if (impl_->tunnel) impl_->tunnel->Stop();
  if (impl_->tlsServer) impl_->tlsServer->stop();
  if (impl_->tlsListener.joinable()) impl_->tlsListener.join();
  impl_->server.stop();
  impl_->listener.join();
}

void TestPortal::EnableTls() {
  Impl* impl = impl_.get();
  if (impl->tunnel) return;
  impl->authority = std::make_unique<TestCertificateAuthority>(PortalCertificateHosts());
  TestCertificateAuthority* authority = impl->authority.get();
  // The server sends its own certificate alone, as a server under a root CA does: clients
  // find the CA in their bundle.
  impl->tlsServer = std::make_unique<httplib::SSLServer>([authority](SSL_CTX& context) {
    return SSL_CTX_use_certificate(&context, authority->ServerCertificate()) == 1 &&
           SSL_CTX_use_PrivateKey(&context, authority->ServerKey()) == 1;
  });
  if (!impl->tlsServer->is_valid()) throw std::runtime_error("TestPortal: no TLS server");
  httplib::SSLServer& tls = *impl->tlsServer;
  tls.new_task_queue = [] { return new httplib::ThreadPool(32); };
  tls.set_keep_alive_timeout(2);
  tls.set_tcp_nodelay(true);
  tls.set_pre_routing_handler([impl](const httplib::Request& req, httplib::Response& res) {
    return impl->Serve(req, res, true);
  });
  const int tlsPort = tls.bind_to_any_port("127.0.0.1");
  if (tlsPort <= 0) throw std::runtime_error("TestPortal: cannot bind a TLS port");
  impl->tlsListener = std::thread([&tls] { tls.listen_after_bind(); });
  while (!tls.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  impl->tunnel = std::make_unique<ConnectTunnel>(impl->port, tlsPort);
}

std::string TestPortal::HttpsProxyUrl() const {
  if (!impl_->tunnel) return ProxyUrl();
  return "http://127.0.0.1:" + std::to_string(impl_->tunnel->Port());
}

std::filesystem::path TestPortal::CaBundlePath() const {
  return impl_->authority ? impl_->authority->CaPemPath() : std::filesystem::path();
}

const TestCertificateAuthority& TestPortal::Authority() const {
  if (!impl_->authority) throw std::logic_error("TestPortal: no test CA before EnableTls()");
  return *impl_->authority;
}

void TestPortal::RouteHttps(const std::string& host, int tlsPort) {
  if (!impl_->tunnel) throw std::logic_error("TestPortal: no https before EnableTls()");
  impl_->tunnel->RouteHost(host, tlsPort);
}

void TestPortal::SetPageGenerator(PageGenerator generator) {
  std::lock_guard lock(impl_->mutex);
  impl_->generator = std::move(generator);
}

int TestPortal::Port() const { return impl_->port; }

std::string TestPortal::ProxyUrl() const {
  return "http://127.0.0.1:" + std::to_string(impl_->port);
}

void TestPortal::SetPage(const std::string& absoluteUrl, Page page) {
  std::lock_guard lock(impl_->mutex);
  impl_->pages[NormaliseUrl(absoluteUrl)] = std::move(page);
}

std::optional<Page> TestPortal::PageFor(const std::string& absoluteUrl) const {
  return impl_->Find(absoluteUrl);
}

std::vector<std::string> TestPortal::Requests() const {
  std::lock_guard lock(impl_->mutex);
  return impl_->requests;
}

std::vector<std::string> TestPortal::RequestHeaders(const std::string& absoluteUrl) const {
  std::lock_guard lock(impl_->mutex);
  auto it = impl_->headers.find(NormaliseUrl(absoluteUrl));
  return it == impl_->headers.end() ? std::vector<std::string>{} : it->second;
}

void TestPortal::ClearRequests() {
  std::lock_guard lock(impl_->mutex);
  impl_->requests.clear();
  impl_->headers.clear();
}

namespace {
constexpr const char* kHttpProxyVariables[] = {"http_proxy", "HTTP_PROXY"};
constexpr const char* kHttpsProxyVariables[] = {"https_proxy", "HTTPS_PROXY"};
constexpr const char* kNoProxyVariables[] = {"no_proxy", "NO_PROXY"};
}  // namespace

ScopedProxy::ScopedProxy(const TestPortal& portal) {
  const std::string proxy = portal.ProxyUrl();
  const std::string httpsProxy = portal.HttpsProxyUrl();
  auto save = [this](const char* name) {
    const char* value = std::getenv(name);
    saved_[name] = value ? std::optional<std::string>(value) : std::nullopt;
  };
  for (const char* name : kHttpProxyVariables) {
    save(name);
    setenv(name, proxy.c_str(), 1);
  }
  for (const char* name : kHttpsProxyVariables) {
    save(name);
    setenv(name, httpsProxy.c_str(), 1);
  }
  for (const char* name : kNoProxyVariables) {
    save(name);
    unsetenv(name);
  }
}

ScopedProxy::~ScopedProxy() {
  for (const auto& [name, value] : saved_) {
    if (value) {
      setenv(name.c_str(), value->c_str(), 1);
    } else {
      unsetenv(name.c_str());
    }
  }
}

ScopedCaBundle::ScopedCaBundle(const TestPortal& portal) {
  const char* value = std::getenv("CURL_CA_BUNDLE");
  if (value != nullptr) saved_ = value;
  setenv("CURL_CA_BUNDLE", portal.CaBundlePath().c_str(), 1);
}

ScopedCaBundle::~ScopedCaBundle() {
  if (saved_) {
    setenv("CURL_CA_BUNDLE", saved_->c_str(), 1);
  } else {
    unsetenv("CURL_CA_BUNDLE");
  }
}

}  // namespace langxing::testportal
