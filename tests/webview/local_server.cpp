// SPDX-License-Identifier: GPL-3.0-or-later
#include "local_server.hpp"

#include <httplib.h>

#include <QBuffer>
#include <QImage>

LocalServer::LocalServer() : server_(std::make_unique<httplib::Server>()) {
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
  return QStringLiteral("http://127.0.0.1:%1").arg(port_) + QString::fromStdString(path);
}

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
