// SPDX-License-Identifier: GPL-3.0-or-later
// A cpp-httplib server on a free 127.0.0.1 port for the network suites, plain or TLS. It serves
// fixed pages (Serve, at any time) and any routes a test adds before Start(), and it records
// every request it was asked, so that a test can tell what reached it and what did not.
// Qt-free: the Qt-free suites use it as they are.
#pragma once

#include <httplib.h>

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace langxing::test_support {

struct RecordedRequest {
  std::string target;  // the request target as sent (absolute-form through a proxy)
  std::string path;    // its decoded path, without the query
  httplib::Headers headers;
};

class LoopbackServer {
 public:
  // PEM files of the certificate (chain) and private key an HTTPS server presents.
  struct TlsFiles {
    std::string certificateChain;
    std::string privateKey;
  };

  LoopbackServer();                                // plain HTTP
  explicit LoopbackServer(const TlsFiles& files);  // HTTPS
  ~LoopbackServer();                               // stops and joins
  LoopbackServer(const LoopbackServer&) = delete;
  LoopbackServer& operator=(const LoopbackServer&) = delete;

  // Routes of a test's own, registered before Start(). A request neither they nor a page given
  // to Serve() answer gets 404.
  httplib::Server& server() { return *server_; }
  // Binds the port and returns once the server accepts connections.
  void Start();

  // Serves body to a GET of path (e.g. "/a.html") with the given content type, ahead of the
  // routes; a later call replaces it. Safe while the server runs.
  void Serve(const std::string& path, std::string body, std::string contentType);

  int port() const { return port_; }
  // "http://127.0.0.1:<port>" (https for an HTTPS server) + path.
  std::string Url(const std::string& path) const;

  std::vector<RecordedRequest> Requests() const;
  // How many requests for path (without the query) arrived so far.
  int Hits(const std::string& path) const;
  // How many TLS handshakes clients began with an HTTPS server, whether or not they then
  // accepted its certificate.
  int Handshakes() const { return handshakes_; }

 private:
  struct Page {
    std::string body;
    std::string contentType;
  };
  void RecordEveryRequest();
  void Record(const httplib::Request& request);
  // Answers a GET for a page given to Serve(); false leaves the request to the routes.
  bool AnswerFromPages(const httplib::Request& request, httplib::Response& response) const;

  std::atomic<int> handshakes_{0};  // before server_: the TLS set-up points the context at it
  std::unique_ptr<httplib::Server> server_;
  bool tls_ = false;
  std::thread thread_;
  int port_ = 0;
  mutable std::mutex mutex_;  // guards pages_ and requests_
  std::map<std::string, Page> pages_;
  std::vector<RecordedRequest> requests_;
};

}  // namespace langxing::test_support
