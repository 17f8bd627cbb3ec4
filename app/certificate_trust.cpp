// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/certificate_trust.hpp"

#include <openssl/ssl.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <QSslCertificate>
#include <QUrl>
#include <QWebEngineCertificateError>
#include <cstdlib>
#include <memory>

namespace {

struct StoreFree {
  void operator()(X509_STORE* store) const { X509_STORE_free(store); }
};
struct ContextFree {
  void operator()(X509_STORE_CTX* context) const { X509_STORE_CTX_free(context); }
};
struct CertificatesFree {
  void operator()(STACK_OF(X509) * certificates) const {
    sk_X509_pop_free(certificates, X509_free);
  }
};
using CertificateStack = std::unique_ptr<STACK_OF(X509), CertificatesFree>;

// The security level a TLS connection of this process verifies with (libssl hands its level to
// the verifier): the system's OpenSSL configuration decides it, as it does for libcurl.
int ClientSecurityLevel() {
  static const int level = [] {
    SSL_CTX* context = SSL_CTX_new(TLS_client_method());
    if (context == nullptr) return 2;  // Debian's configured level
    const int configured = SSL_CTX_get_security_level(context);
    SSL_CTX_free(context);
    return configured;
  }();
  return level;
}

// The chain as OpenSSL certificates, in order; empty when one of them does not parse.
CertificateStack ParseChain(const std::vector<std::string>& derChain) {
  CertificateStack chain(sk_X509_new_null());
  if (!chain) return {};
  for (const std::string& der : derChain) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(der.data());
    X509* certificate = d2i_X509(nullptr, &bytes, static_cast<long>(der.size()));
    if (certificate == nullptr ||
        bytes != reinterpret_cast<const unsigned char*>(der.data()) + der.size() ||
        sk_X509_push(chain.get(), certificate) == 0) {
      X509_free(certificate);
      return {};
    }
  }
  return chain;
}

// Whether the certificate names any DNS name or IP address among its subjectAltNames. libcurl
// reads the subject's common name only when it names neither.
bool HasAltNames(X509* certificate) {
  auto* names = static_cast<GENERAL_NAMES*>(
      X509_get_ext_d2i(certificate, NID_subject_alt_name, nullptr, nullptr));
  bool found = false;
  for (int i = 0; i < sk_GENERAL_NAME_num(names); ++i) {
    const int type = sk_GENERAL_NAME_value(names, i)->type;
    found = found || type == GEN_DNS || type == GEN_IPADD;
  }
  GENERAL_NAMES_free(names);
  return found;
}

// Points the verifier at `host`: an IP address against the IP entries, a name against the DNS
// entries with whole-label wildcards only. False for a host OpenSSL cannot take.
bool SetHost(X509_VERIFY_PARAM* param, X509* leaf, std::string host) {
  if (!host.empty() && host.back() == '.') host.pop_back();  // "a.example." is "a.example"
  if (host.empty()) return false;
  unsigned int flags = X509_CHECK_FLAG_NO_PARTIAL_WILDCARDS;
  if (HasAltNames(leaf)) flags |= X509_CHECK_FLAG_NEVER_CHECK_SUBJECT;
  X509_VERIFY_PARAM_set_hostflags(param, flags);
  if (X509_VERIFY_PARAM_set1_ip_asc(param, host.c_str()) == 1) return true;
  return X509_VERIFY_PARAM_set1_host(param, host.c_str(), host.size()) == 1;
}

}  // namespace

bool ChainVerifiesForHost(const std::vector<std::string>& derChain, const std::string& host,
                          const std::string& bundlePath) {
  if (derChain.empty() || bundlePath.empty()) return false;
  const CertificateStack chain = ParseChain(derChain);
  if (!chain) return false;

  // The bundle as libcurl loads its CA file, with libcurl's flags: the store's certificates are
  // tried first, and every one of them is an anchor (partial chains).
  std::unique_ptr<X509_STORE, StoreFree> store(X509_STORE_new());
  if (!store || X509_STORE_load_file(store.get(), bundlePath.c_str()) != 1) return false;
  X509_STORE_set_flags(store.get(), X509_V_FLAG_TRUSTED_FIRST | X509_V_FLAG_PARTIAL_CHAIN);

  // What the server sent beside its own certificate may help build the path, never end it.
  X509* leaf = sk_X509_value(chain.get(), 0);
  const CertificateStack untrusted(sk_X509_new_null());
  if (!untrusted) return false;
  for (int i = 1; i < sk_X509_num(chain.get()); ++i) {
    X509* certificate = sk_X509_value(chain.get(), i);
    if (X509_up_ref(certificate) != 1 || sk_X509_push(untrusted.get(), certificate) == 0) {
      return false;
    }
  }

  std::unique_ptr<X509_STORE_CTX, ContextFree> context(X509_STORE_CTX_new());
  if (!context || X509_STORE_CTX_init(context.get(), store.get(), leaf, untrusted.get()) != 1) {
    return false;
  }
  // As libssl verifies a server for a client: the server purpose and trust, at its level.
  if (X509_STORE_CTX_set_default(context.get(), "ssl_server") != 1 ||
      X509_STORE_CTX_set_purpose(context.get(), X509_PURPOSE_SSL_SERVER) != 1) {
    return false;
  }
  X509_VERIFY_PARAM* param = X509_STORE_CTX_get0_param(context.get());
  X509_VERIFY_PARAM_set_auth_level(param, ClientSecurityLevel());
  if (!SetHost(param, leaf, host)) return false;
  return X509_verify_cert(context.get()) == 1;
}

void AnswerCertificateError(const QWebEngineCertificateError& e) {
  QWebEngineCertificateError error = e;
  const char* bundle = std::getenv("CURL_CA_BUNDLE");
  // A wrong name, an expired or revoked certificate stays an error whatever the bundle holds;
  // so does a chain whose authority the engine could not place unless it verifies against the
  // bundle in full (the engine reports an unknown authority ahead of a wrong name or dates).
  bool trusted = false;
  if (bundle != nullptr && error.isOverridable() &&
      error.type() == QWebEngineCertificateError::CertificateAuthorityInvalid) {
    std::vector<std::string> derChain;
    for (const QSslCertificate& certificate : error.certificateChain()) {
      const QByteArray der = certificate.toDer();
      derChain.emplace_back(der.constData(), static_cast<std::size_t>(der.size()));
    }
    trusted =
        ChainVerifiesForHost(derChain, error.url().host(QUrl::FullyEncoded).toStdString(), bundle);
  }
  if (trusted) {
    error.acceptCertificate();
  } else {
    error.rejectCertificate();
  }
}
