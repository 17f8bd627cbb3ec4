// SPDX-License-Identifier: GPL-3.0-or-later
// Certificates the article view accepts beyond the engine's own store: those whose chain ends
// in a certificate of the bundle CURL_CA_BUNDLE names. The variable means for the view what it
// means for the downloads (libcurl's CA file): a bundle the user chose, for a TLS-inspecting
// proxy or the local test portal.
#pragma once

#include <QList>
#include <QSslCertificate>
#include <QString>

class QWebEngineCertificateError;

// The certificates of the PEM bundle CURL_CA_BUNDLE names; none when it is unset or unreadable.
QList<QSslCertificate> UserCaBundle();

// True when `chain` (the peer's certificate first) ends in one of `bundle`'s certificates.
bool ChainEndsIn(const QList<QSslCertificate>& chain, const QList<QSslCertificate>& bundle);

// Accepts the error when the engine could not verify the chain for want of a known authority
// and the chain ends in the user's bundle; rejects every other certificate error.
void AnswerCertificateError(const QWebEngineCertificateError& error);
