// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/certificate_trust.hpp"

#include <QWebEngineCertificateError>
#include <QtGlobal>

QList<QSslCertificate> UserCaBundle() {
  const QString path = qEnvironmentVariable("CURL_CA_BUNDLE");
  if (path.isEmpty()) return {};
  return QSslCertificate::fromPath(path, QSsl::Pem, QSslCertificate::PatternSyntax::FixedString);
}

bool ChainEndsIn(const QList<QSslCertificate>& chain, const QList<QSslCertificate>& bundle) {
  if (chain.isEmpty() || chain.last().isNull()) return false;
  return bundle.contains(chain.last());
}

void AnswerCertificateError(const QWebEngineCertificateError& e) {
  QWebEngineCertificateError error = e;
  // A wrong name, an expired or revoked certificate stays an error whatever the bundle holds.
  if (error.isOverridable() &&
      error.type() == QWebEngineCertificateError::CertificateAuthorityInvalid &&
      ChainEndsIn(error.certificateChain(), UserCaBundle())) {
    error.acceptCertificate();
  } else {
    error.rejectCertificate();
  }
}
