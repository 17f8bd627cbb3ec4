// SPDX-License-Identifier: GPL-3.0-or-later
// Certificates the article view accepts beyond the engine's own store: a chain that OpenSSL's
// verifier finds good for the host with the certificates of the bundle CURL_CA_BUNDLE names as
// its trust anchors. The variable means for the view what it means for the downloads (libcurl's
// CA file): a bundle the user chose, for a TLS-inspecting proxy or the local test portal; and the
// view verifies as libcurl does, so that a picture and a download from one server are trusted
// alike.
#pragma once

#include <string>
#include <vector>

class QWebEngineCertificateError;

// True when `derChain` (DER certificates, the server's own first) verifies for `host` (a DNS name
// or an IP address) with the certificates of the PEM file `bundlePath` as the only trust anchors:
// each signature up to an anchor, the validity dates, the host against the subjectAltName (the
// subject's common name only where that names no DNS name or address, as libcurl reads it), the
// issuers' CA constraints and key usage, the server purpose and the security level of OpenSSL's
// default TLS client. The rest of the chain serves only as untrusted intermediates. As for
// libcurl, any certificate of the bundle is an anchor, self-signed or not. False for an empty
// chain, host or path, and for a bundle that cannot be read or holds no certificate.
bool ChainVerifiesForHost(const std::vector<std::string>& derChain, const std::string& host,
                          const std::string& bundlePath);

// Accepts the error when the engine could not place the chain's authority and the chain verifies
// for the page's host against the user's bundle; rejects every other certificate error.
void AnswerCertificateError(const QWebEngineCertificateError& error);
