// SPDX-License-Identifier: GPL-3.0-or-later
// Certificates made at run time for the tests: any chain a test needs (authorities,
// intermediates, servers, expired, look-alike or self-signed ones), and the certificate
// authority made for one run of the local portal: a self-signed CA and a server certificate for
// the portal's host names signed by it. The CA's certificate is written to a temporary PEM file
// that clients may trust; nothing of it outlives the object.
#pragma once

#include <openssl/evp.h>
#include <openssl/x509.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace langxing::testportal {

// The host names the portal's server certificate covers.
std::vector<std::string> PortalCertificateHosts();

// What a test certificate says about itself. Every one gets an EC P-256 key of its own.
struct CertificateSpec {
  std::string commonName{};
  std::vector<std::string> hosts{};  // subjectAltName DNS entries; none leaves the extension out
  bool authority = false;  // CA:TRUE with keyCertSign; otherwise CA:FALSE, digitalSignature
  std::string extendedUsage = "serverAuth";  // for a non-authority; empty leaves it out
  long notBeforeDays = -1;                   // validity, in days from now
  long notAfterDays = 30;
  // Copies this certificate's subject and subject key identifier instead of its own: a forger's
  // authority that looks like a real one by name and key id, with another key.
  const X509* lookalikeOf = nullptr;
};

class TestCertificate {
 public:
  // Signed by `issuer`'s key, with its subject as issuer name and its key id as authority key id;
  // self-signed when `issuer` is null.
  TestCertificate(const CertificateSpec& wanted, const TestCertificate* issuer);
  TestCertificate(const TestCertificate&) = delete;
  TestCertificate& operator=(const TestCertificate&) = delete;

  X509* Certificate() const { return cert_.get(); }
  EVP_PKEY* Key() const { return key_.get(); }
  std::string Der() const;
  std::string Pem() const;
  std::string KeyPem() const;

 private:
  struct KeyFree {
    void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
  };
  struct CertFree {
    void operator()(X509* cert) const { X509_free(cert); }
  };
  std::unique_ptr<EVP_PKEY, KeyFree> key_;
  std::unique_ptr<X509, CertFree> cert_;
};

class TestCertificateAuthority {
 public:
  explicit TestCertificateAuthority(const std::vector<std::string>& serverHosts);
  ~TestCertificateAuthority();  // removes the PEM file
  TestCertificateAuthority(const TestCertificateAuthority&) = delete;
  TestCertificateAuthority& operator=(const TestCertificateAuthority&) = delete;

  const std::filesystem::path& CaPemPath() const { return caPemPath_; }
  std::string CaPem() const;

  const TestCertificate& Ca() const { return ca_; }
  X509* CaCertificate() const { return ca_.Certificate(); }
  X509* ServerCertificate() const { return server_.Certificate(); }
  EVP_PKEY* ServerKey() const { return server_.Key(); }

 private:
  TestCertificate ca_, server_;
  std::filesystem::path caPemPath_;
};

// The PEM text of a certificate.
std::string PemOf(X509* certificate);

}  // namespace langxing::testportal
