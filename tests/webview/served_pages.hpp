// SPDX-License-Identifier: GPL-3.0-or-later
// The Qt side of the loopback server (tests/support) for the article view's tests: its
// addresses as QString, a picture to serve, and a self-signed certificate for an HTTPS server.
#pragma once

#include <QString>
#include <string>

#include "tests/support/loopback_server.hpp"

using langxing::test_support::LoopbackServer;

// The server's address for path, as the view takes it.
inline QString PageUrl(const LoopbackServer& server, const std::string& path) {
  return QString::fromStdString(server.Url(path));
}

// The bytes of a PNG image of the given size, for pages that must show a picture.
std::string PngImage(int width, int height);

// Writes a self-signed certificate for 127.0.0.1 and its key into folder (cert.pem, key.pem),
// with the openssl tool. False when that failed.
bool WriteSelfSignedCertificate(const QString& folder);
// The files WriteSelfSignedCertificate wrote into folder, for an HTTPS LoopbackServer.
LoopbackServer::TlsFiles SelfSignedCertificateFiles(const QString& folder);
