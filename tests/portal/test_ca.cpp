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

// A certificate for `key` with the subject and validity `wanted` names; the caller sets its issuer
// and extensions and signs it.
X509* NewCertificate(EVP_PKEY* key, const CertificateSpec& wanted) {
  X509* cert = X509_new();
  Require(cert != nullptr, "make a certificate");
  X509_set_version(cert, 2);
  unsigned char serial[16];
  Require(RAND_bytes(serial, sizeof serial) == 1, "draw a serial number");
  serial[0] &= 0x7F;  // positive
  BIGNUM* number = BN_bin2bn(serial, sizeof serial, nullptr);
  BN_to_ASN1_INTEGER(number, X509_get_serialNumber(cert));
  BN_free(number);
  X509_gmtime_adj(X509_getm_notBefore(cert), wanted.notBeforeDays * kDay);
  X509_gmtime_adj(X509_getm_notAfter(cert), wanted.notAfterDays * kDay);
  X509_set_pubkey(cert, key);
  if (wanted.lookalikeOf != nullptr) {
    X509_set_subject_name(cert, X509_get_subject_name(wanted.lookalikeOf));
    return cert;
  }
  X509_NAME* name = X509_get_subject_name(cert);
  X509_NAME_add_entry_by_txt(name, "O", MBSTRING_UTF8,
                             reinterpret_cast<const unsigned char*>("Langxing test portal"), -1, -1,
                             0);
  X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_UTF8,
                             reinterpret_cast<const unsigned char*>(wanted.commonName.c_str()), -1,
                             -1, 0);
  return cert;
}

// The subject key identifier: the look-alike's own copy of the original's, else the key's hash.
void AddSubjectKeyIdentifier(X509* cert, const CertificateSpec& wanted) {
  if (wanted.lookalikeOf == nullptr) {
    AddExtension(cert, cert, NID_subject_key_identifier, "hash");
    return;
  }
  const int index = X509_get_ext_by_NID(wanted.lookalikeOf, NID_subject_key_identifier, -1);
  Require(index >= 0, "copy a key identifier");
  X509_add_ext(cert, X509_get_ext(wanted.lookalikeOf, index), -1);
}

CertificateSpec PortalCaSpec() {
  return {.commonName = "Langxing test CA", .authority = true, .extendedUsage = {}};
}

CertificateSpec PortalServerSpec(const std::vector<std::string>& hosts) {
  return {.commonName = hosts.empty() ? "localhost" : hosts.front(), .hosts = hosts};
}

}  // namespace

std::vector<std::string> PortalCertificateHosts() {
  return {"sina.com.cn",          "*.sina.com.cn", "*.news.sina.com.cn", "*.mix.sina.com.cn",
          "feed.mix.sina.com.cn", "sinaimg.cn",    "*.sinaimg.cn"};
}

TestCertificate::TestCertificate(const CertificateSpec& wanted, const TestCertificate* issuer)
    : key_(NewKey()) {
  cert_.reset(NewCertificate(key_.get(), wanted));
  X509* cert = cert_.get();
  X509* issuerCert = issuer != nullptr ? issuer->Certificate() : cert;
  X509_set_issuer_name(cert, X509_get_subject_name(issuerCert));
  if (wanted.authority) {
    AddExtension(cert, issuerCert, NID_basic_constraints, "critical,CA:TRUE");
    AddExtension(cert, issuerCert, NID_key_usage, "critical,keyCertSign,cRLSign");
  } else {
    AddExtension(cert, issuerCert, NID_basic_constraints, "critical,CA:FALSE");
    AddExtension(cert, issuerCert, NID_key_usage, "critical,digitalSignature");
    if (!wanted.extendedUsage.empty())
      AddExtension(cert, issuerCert, NID_ext_key_usage, wanted.extendedUsage);
  }
  AddSubjectKeyIdentifier(cert, wanted);
  if (issuer != nullptr)
    AddExtension(cert, issuerCert, NID_authority_key_identifier, "keyid:always");
  std::string names;
  for (const std::string& host : wanted.hosts) names += (names.empty() ? "DNS:" : ",DNS:") + host;
  if (!names.empty()) AddExtension(cert, issuerCert, NID_subject_alt_name, names);
  EVP_PKEY* signer = issuer != nullptr ? issuer->Key() : key_.get();
  Require(X509_sign(cert, signer, EVP_sha256()) > 0, "sign a certificate");
}

std::string TestCertificate::Der() const {
  unsigned char* bytes = nullptr;
  const int size = i2d_X509(cert_.get(), &bytes);
  Require(size > 0, "encode a certificate");
  std::string der(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(size));
  OPENSSL_free(bytes);
  return der;
}

std::string TestCertificate::Pem() const { return PemOf(cert_.get()); }

std::string TestCertificate::KeyPem() const {
  BIO* bio = BIO_new(BIO_s_mem());
  PEM_write_bio_PrivateKey(bio, key_.get(), nullptr, nullptr, 0, nullptr, nullptr);
  char* data = nullptr;
  const long size = BIO_get_mem_data(bio, &data);
  std::string pem(data, static_cast<std::size_t>(size));
  BIO_free(bio);
  return pem;
}

TestCertificateAuthority::TestCertificateAuthority(const std::vector<std::string>& serverHosts)
    : ca_(PortalCaSpec(), nullptr), server_(PortalServerSpec(serverHosts), &ca_) {
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

std::string TestCertificateAuthority::CaPem() const { return ca_.Pem(); }

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
