// SPDX-License-Identifier: GPL-3.0-or-later
// A certificate authority made for one run of the local portal: an EC key pair and a
// self-signed CA certificate, and a server certificate for the portal's host names signed by
// it. The CA's certificate is written to a temporary PEM file that clients may trust; nothing
// of it outlives the object.
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

class TestCertificateAuthority {
 public:
  explicit TestCertificateAuthority(const std::vector<std::string>& serverHosts);
  ~TestCertificateAuthority();  // removes the PEM file
  TestCertificateAuthority(const TestCertificateAuthority&) = delete;
  TestCertificateAuthority& operator=(const TestCertificateAuthority&) = delete;

  const std::filesystem::path& CaPemPath() const { return caPemPath_; }
  std::string CaPem() const;

  X509* CaCertificate() const { return caCert_.get(); }
  X509* ServerCertificate() const { return serverCert_.get(); }
  EVP_PKEY* ServerKey() const { return serverKey_.get(); }

 private:
  struct KeyFree {
    void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
  };
  struct CertFree {
    void operator()(X509* cert) const { X509_free(cert); }
  };
  std::unique_ptr<EVP_PKEY, KeyFree> caKey_, serverKey_;
  std::unique_ptr<X509, CertFree> caCert_, serverCert_;
  std::filesystem::path caPemPath_;
};

// The PEM text of a certificate.
std::string PemOf(X509* certificate);

}  // namespace langxing::testportal
