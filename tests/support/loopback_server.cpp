// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/loopback_server.hpp"

#include <openssl/ssl.h>

#include <chrono>
#include <stdexcept>

namespace langxing::test_support {
namespace {

void CountHandshake(const SSL* connection, int where, int) {
  if ((where & SSL_CB_HANDSHAKE_START) == 0) return;
  auto* handshakes =
      static_cast<std::atomic<int>*>(SSL_CTX_get_app_data(SSL_get_SSL_CTX(connection)));
  if (handshakes != nullptr) ++*handshakes;
}

}  // namespace

LoopbackServer::LoopbackServer() : server_(std::make_unique<httplib::Server>()) {
  RecordEveryRequest();
}

LoopbackServer::LoopbackServer(const TlsFiles& files)
    : server_(std::make_unique<httplib::SSLServer>([this, &files](SSL_CTX& context) {
        SSL_CTX_set_app_data(&context, &handshakes_);
        SSL_CTX_set_info_callback(&context, CountHandshake);
        return SSL_CTX_use_certificate_chain_file(&context, files.certificateChain.c_str()) == 1 &&
               SSL_CTX_use_PrivateKey_file(&context, files.privateKey.c_str(), SSL_FILETYPE_PEM) ==
                   1;
      })),
      tls_(true) {
  if (!server_->is_valid()) throw std::runtime_error("LoopbackServer: unusable certificate or key");
  RecordEveryRequest();
}

void LoopbackServer::RecordEveryRequest() {
  server_->set_pre_routing_handler(
      [this](const httplib::Request& request, httplib::Response& response) {
        Record(request);
        return AnswerFromPages(request, response) ? httplib::Server::HandlerResponse::Handled
                                                  : httplib::Server::HandlerResponse::Unhandled;
      });
}

LoopbackServer::~LoopbackServer() {
  if (!thread_.joinable()) return;
  server_->stop();
  thread_.join();
}

void LoopbackServer::Start() {
  port_ = server_->bind_to_any_port("127.0.0.1");
  if (port_ <= 0) throw std::runtime_error("LoopbackServer: cannot bind a loopback port");
  thread_ = std::thread([this] { server_->listen_after_bind(); });
  // The socket already listens, so early requests queue; this waits for the accept loop, since
  // stop() does nothing before it runs.
  while (!server_->is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

void LoopbackServer::Serve(const std::string& path, std::string body, std::string contentType) {
  const std::lock_guard lock(mutex_);
  pages_[path] = Page{std::move(body), std::move(contentType)};
}

std::string LoopbackServer::Url(const std::string& path) const {
  return (tls_ ? "https://127.0.0.1:" : "http://127.0.0.1:") + std::to_string(port_) + path;
}

std::vector<RecordedRequest> LoopbackServer::Requests() const {
  const std::lock_guard lock(mutex_);
  return requests_;
}

int LoopbackServer::Hits(const std::string& path) const {
  const std::lock_guard lock(mutex_);
  int hits = 0;
  for (const RecordedRequest& request : requests_) hits += request.path == path ? 1 : 0;
  return hits;
}

void LoopbackServer::Record(const httplib::Request& request) {
  const std::lock_guard lock(mutex_);
  requests_.push_back({request.target, request.path, request.headers});
}

bool LoopbackServer::AnswerFromPages(const httplib::Request& request,
                                     httplib::Response& response) const {
  if (request.method != "GET") return false;
  const std::lock_guard lock(mutex_);
  const auto found = pages_.find(request.path);
  if (found == pages_.end()) return false;
  response.set_content(found->second.body, found->second.contentType);
  return true;
}

}  // namespace langxing::test_support
