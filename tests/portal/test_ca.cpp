// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/portal/test_ca.hpp"

#include <openssl/bio.h>
#include <openssl/pem.h>
#include <openssl/rand.h>
#include <openssl/x509v3.h>
#include <unistd.h>

#include <cstdlib>
#include <stdexcept>

namespace langxing::testportal {
namespace {

constexpr long kDay = 24L * 60 * 60;

void Require(bool ok, const char* what) {
  if (!ok) throw std::runtime_error(std::string("test CA: cannot ") + what);
}

EVP_PKEY* NewKey() {
  EVP_PKEY* key = EVP_EC_gen("P-256");
  Require(key != nullptr, "make a key");
  return key;
}

void AddExtension(X509* cert, X509* issuer, int nid, const std::string& value) {
  X509V3_CTX context;
  X509V3_set_ctx_nodb(&context);
  X509V3_set_ctx(&context, issuer, cert, nullptr, nullptr, 0);
  X509_EXTENSION* extension = X509V3_EXT_conf_nid(nullptr, &context, nid, value.c_str());
  Require(extension != nullptr, "make an extension");
  X509_add_ext(cert, extension, -1);
  X509_EXTENSION_free(extension);
}

// A certificate for `key` named `commonName`, valid from yesterday for `days` days. The
// issuer is `issuer` (self-signed when it is null); the caller signs it.
X509* NewCertificate(EVP_PKEY* key, const std::string& commonName, X509* issuer, long days) {
  X509* cert = X509_new();
  Require(cert != nullptr, "make a certificate");
  X509_set_version(cert, 2);
  unsigned char serial[16];
  Require(RAND_bytes(serial, sizeof serial) == 1, "draw a serial number");
  serial[0] &= 0x7F;  // positive
  BIGNUM* number = BN_bin2bn(serial, sizeof serial, nullptr);
  BN_to_ASN1_INTEGER(number, X509_get_serialNumber(cert));
  BN_free(number);
  X509_gmtime_adj(X509_getm_notBefore(cert), -kDay);
  X509_gmtime_adj(X509_getm_notAfter(cert), days * kDay);
  X509_set_pubkey(cert, key);
  X509_NAME* name = X509_get_subject_name(cert);
  X509_NAME_add_entry_by_txt(name, "O", MBSTRING_UTF8,
                             reinterpret_cast<const unsigned char*>("Langxing test portal"), -1, -1,
                             0);
  X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_UTF8,
                             reinterpret_cast<const unsigned char*>(commonName.c_str()), -1, -1, 0);
  X509_set_issuer_name(cert, issuer != nullptr ? X509_get_subject_name(issuer) : name);
  return cert;
}

}  // namespace

std::vector<std::string> PortalCertificateHosts() {
  return {"sina.com.cn",          "*.sina.com.cn", "*.news.sina.com.cn", "*.mix.sina.com.cn",
          "feed.mix.sina.com.cn", "sinaimg.cn",    "*.sinaimg.cn"};
}

TestCertificateAuthority::TestCertificateAuthority(const std::vector<std::string>& serverHosts)
    : caKey_(NewKey()), serverKey_(NewKey()) {
  caCert_.reset(NewCertificate(caKey_.get(), "Langxing test CA", nullptr, 30));
  AddExtension(caCert_.get(), caCert_.get(), NID_basic_constraints, "critical,CA:TRUE");
  AddExtension(caCert_.get(), caCert_.get(), NID_key_usage, "critical,keyCertSign,cRLSign");
  AddExtension(caCert_.get(), caCert_.get(), NID_subject_key_identifier, "hash");
  Require(X509_sign(caCert_.get(), caKey_.get(), EVP_sha256()) > 0, "sign the CA");

  serverCert_.reset(NewCertificate(serverKey_.get(),
                                   serverHosts.empty() ? "localhost" : serverHosts.front(),
                                   caCert_.get(), 30));
  std::string names;
  for (const std::string& host : serverHosts) names += (names.empty() ? "DNS:" : ",DNS:") + host;
  AddExtension(serverCert_.get(), caCert_.get(), NID_basic_constraints, "critical,CA:FALSE");
  AddExtension(serverCert_.get(), caCert_.get(), NID_key_usage, "critical,digitalSignature");
  AddExtension(serverCert_.get(), caCert_.get(), NID_ext_key_usage, "serverAuth");
  AddExtension(serverCert_.get(), caCert_.get(), NID_authority_key_identifier, "keyid:always");
  if (!names.empty()) AddExtension(serverCert_.get(), caCert_.get(), NID_subject_alt_name, names);
  Require(X509_sign(serverCert_.get(), caKey_.get(), EVP_sha256()) > 0, "sign the server");

  const char* tmp = std::getenv("TMPDIR");
  std::string pattern =
      std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/langxing-test-ca-XXXXXX.pem";
  const int fd = mkstemps(pattern.data(), 4);
  Require(fd >= 0, "write the CA file");
  const std::string pem = CaPem();
  const bool written = write(fd, pem.data(), pem.size()) == static_cast<ssize_t>(pem.size());
  close(fd);
  caPemPath_ = pattern;
  Require(written, "write the CA file");
}

TestCertificateAuthority::~TestCertificateAuthority() {
  std::error_code ignored;
  std::filesystem::remove(caPemPath_, ignored);
}

std::string TestCertificateAuthority::CaPem() const { return PemOf(caCert_.get()); }

std::string PemOf(X509* certificate) {
  BIO* bio = BIO_new(BIO_s_mem());
  PEM_write_bio_X509(bio, certificate);
  char* data = nullptr;
  const long size = BIO_get_mem_data(bio, &data);
  std::string pem(data, static_cast<std::size_t>(size));
  BIO_free(bio);
  return pem;
}

}  // namespace langxing::testportal
