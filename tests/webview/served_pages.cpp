// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/webview/served_pages.hpp"

#include <QBuffer>
#include <QImage>
#include <QProcess>

std::string PngImage(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(Qt::darkRed);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return bytes.toStdString();
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

LoopbackServer::TlsFiles SelfSignedCertificateFiles(const QString& folder) {
  return {(folder + QStringLiteral("/cert.pem")).toStdString(),
          (folder + QStringLiteral("/key.pem")).toStdString()};
}
