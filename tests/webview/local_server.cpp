// SPDX-License-Identifier: GPL-3.0-or-later
#include "local_server.hpp"

#include <httplib.h>
#include <openssl/ssl.h>

#include <QBuffer>
#include <QImage>
#include <QProcess>
#include <atomic>

namespace {

std::atomic<int> handshakes{0};

void CountHandshakes(const SSL*, int where, int) {
  if (where & SSL_CB_HANDSHAKE_START) ++handshakes;
}

}  // namespace

LocalServer::LocalServer() : server_(std::make_unique<httplib::Server>()) { Start(); }

LocalServer::LocalServer(const std::string& certificateFile, const std::string& keyFile)
    : server_(std::make_unique<httplib::SSLServer>([&](SSL_CTX& context) {
        SSL_CTX_set_info_callback(&context, CountHandshakes);
        return SSL_CTX_use_certificate_chain_file(&context, certificateFile.c_str()) == 1 &&
               SSL_CTX_use_PrivateKey_file(&context, keyFile.c_str(), SSL_FILETYPE_PEM) == 1;
      })),
      tls_(true) {
  Start();
}

void LocalServer::Start() {
  server_->Get(".*", [this](const httplib::Request& request, httplib::Response& response) {
    const std::lock_guard lock(mutex_);
    ++hits_[request.path];
    const auto found = resources_.find(request.path);
    if (found == resources_.end()) {
      response.status = 404;
      return;
    }
    const Resource& resource = found->second;
    response.set_content(resource.body.constData(), static_cast<size_t>(resource.body.size()),
                         resource.contentType.c_str());
  });
  port_ = server_->bind_to_any_port("127.0.0.1");
  thread_ = std::thread([this] { server_->listen_after_bind(); });
}

LocalServer::~LocalServer() {
  // stop() only ends a loop that has started.
  while (!server_->is_running()) std::this_thread::yield();
  server_->stop();
  thread_.join();
}

void LocalServer::Serve(const std::string& path, QByteArray body, const std::string& contentType) {
  const std::lock_guard lock(mutex_);
  resources_[path] = Resource{std::move(body), contentType};
}

QString LocalServer::Url(const std::string& path) const {
  return QStringLiteral("%1://127.0.0.1:%2")
             .arg(tls_ ? QStringLiteral("https") : QStringLiteral("http"))
             .arg(port_) +
         QString::fromStdString(path);
}

int LocalServer::Handshakes() const { return handshakes; }

int LocalServer::Hits(const std::string& path) const {
  const std::lock_guard lock(mutex_);
  const auto found = hits_.find(path);
  return found == hits_.end() ? 0 : found->second;
}

QByteArray PngImage(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(Qt::darkRed);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return bytes;
}

bool WriteSelfSignedCertificate(const QString& folder) {
  QProcess openssl;
  openssl.start(QStringLiteral("openssl"),
                {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"),
                 QStringLiteral("rsa:2048"), QStringLiteral("-nodes"), QStringLiteral("-days"),
                 QStringLiteral("2"), QStringLiteral("-subj"), QStringLiteral("/CN=127.0.0.1"),
                 QStringLiteral("-keyout"), folder + QStringLiteral("/key.pem"),
                 QStringLiteral("-out"), folder + QStringLiteral("/cert.pem")});
  return openssl.waitForFinished(30000) && openssl.exitStatus() == QProcess::NormalExit &&
         openssl.exitCode() == 0;
}
