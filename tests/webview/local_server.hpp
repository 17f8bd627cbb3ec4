// SPDX-License-Identifier: GPL-3.0-or-later
// A small HTTP (or HTTPS) server on 127.0.0.1 for the article view's tests, serving fixed pages.
#pragma once

#include <QByteArray>
#include <QString>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace httplib {
class Server;
}

class LocalServer {
 public:
  LocalServer();
  // An HTTPS server with the certificate and key in these PEM files.
  LocalServer(const std::string& certificateFile, const std::string& keyFile);
  ~LocalServer();
  LocalServer(const LocalServer&) = delete;
  LocalServer& operator=(const LocalServer&) = delete;

  // Serves body under path (e.g. "/a.html") with the given content type.
  void Serve(const std::string& path, QByteArray body, const std::string& contentType);
  // "http://127.0.0.1:<port>" (https for an HTTPS server) + path.
  QString Url(const std::string& path) const;
  // How many requests for path arrived so far.
  int Hits(const std::string& path) const;
  // How many TLS handshakes clients began with an HTTPS server (whether or not they then
  // accepted its certificate).
  int Handshakes() const;

 private:
  void Start();

  struct Resource {
    QByteArray body;
    std::string contentType;
  };
  std::unique_ptr<httplib::Server> server_;
  std::thread thread_;
  int port_ = 0;
  bool tls_ = false;
  mutable std::mutex mutex_;
  std::map<std::string, Resource> resources_;
  std::map<std::string, int> hits_;
};

// A PNG image of the given size, for pages that must show a picture.
QByteArray PngImage(int width, int height);

// Writes a self-signed certificate for 127.0.0.1 and its key into folder (cert.pem, key.pem),
// with the openssl tool. False when that failed.
bool WriteSelfSignedCertificate(const QString& folder);
