// SPDX-License-Identifier: GPL-3.0-or-later
// Which chains the article view trusts under a bundle of the user's, through the verifier it
// asks; each chain is also downloaded with the program's libcurl client from a loopback server
// presenting it, so that the view and the downloads are seen to agree on every row.
#include "app/certificate_trust.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/http.hpp"
#include "tests/app/chain_server.hpp"
#include "tests/portal/connect_tunnel.hpp"
#include "tests/portal/test_ca.hpp"
#include "tests/support/scoped_env.hpp"
#include "tests/support/temp_dir.hpp"

namespace {

using langxing::testportal::CertificateSpec;
using langxing::testportal::TestCertificate;

constexpr char kHost[] = "n.sinaimg.cn";

CertificateSpec Authority(const std::string& name) {
  return {.commonName = name, .authority = true, .extendedUsage = {}};
}
CertificateSpec PictureServer() { return {.commonName = kHost, .hosts = {"*.sinaimg.cn"}}; }

// The certificates of the table: a root and an intermediate the user's bundle may hold, servers
// under them, and what a forger or a careless server presents.
struct Certificates {
  TestCertificate root{Authority("Bundle root"), nullptr};
  TestCertificate intermediate{Authority("Bundle intermediate"), &root};
  TestCertificate leaf{PictureServer(), &root};
  TestCertificate leafUnderIntermediate{PictureServer(), &intermediate};
  // Another key under a self-signed authority with the root's name and key identifier.
  TestCertificate lookalike{
      {.authority = true, .extendedUsage = {}, .lookalikeOf = root.Certificate()}, nullptr};
  TestCertificate forged{PictureServer(), &lookalike};
  TestCertificate selfSigned{PictureServer(), nullptr};
  TestCertificate expired{
      {.commonName = kHost, .hosts = {"*.sinaimg.cn"}, .notBeforeDays = -60, .notAfterDays = -1},
      &root};
  TestCertificate clientOnly{
      {.commonName = kHost, .hosts = {"*.sinaimg.cn"}, .extendedUsage = "clientAuth"}, &root};
  // A server certificate (CA:FALSE) that signed another.
  TestCertificate notAnAuthority{{.commonName = "Not an authority", .hosts = {"x.sinaimg.cn"}},
                                 &root};
  TestCertificate leafUnderNotAnAuthority{PictureServer(), &notAnAuthority};
};

std::vector<std::string> DerOf(const std::vector<const TestCertificate*>& chain) {
  std::vector<std::string> der;
  for (const TestCertificate* certificate : chain) der.push_back(certificate->Der());
  return der;
}

// A download of `host` from `server` through a CONNECT proxy, with CURL_CA_BUNDLE at `bundle`
// (unset when empty): whether libcurl accepted the chain.
bool LibcurlAccepts(ChainServer& server, const std::string& host, const std::string& bundle) {
  server.server().Serve("/a.png", "picture", "image/png");
  langxing::testportal::ConnectTunnel tunnel(server.port(), server.port());
  langxing::test_support::ScopedEnv env;
  env.ClearProxies();
  env.Set("https_proxy", "http://127.0.0.1:" + std::to_string(tunnel.Port()));
  if (bundle.empty()) {
    env.Unset("CURL_CA_BUNDLE");
  } else {
    env.Set("CURL_CA_BUNDLE", bundle);
  }
  const langxing::HttpResponse response = langxing::HttpGet("https://" + host + "/a.png", {});
  return response.ok && response.body == "picture";
}

TEST(CertificateTrust, TrustsWhatTheBundleVerifiesAndLibcurlAgrees) {
  const Certificates c;
  struct Row {
    const char* what;
    std::vector<const TestCertificate*> sent;    // the server's own first
    std::vector<const TestCertificate*> bundle;  // none: CURL_CA_BUNDLE unset
    std::string host;
    bool trusted;
  };
  const std::vector<Row> rows = {
      {"the leaf the bundle signed, sent alone", {&c.leaf}, {&c.root}, kHost, true},
      {"the leaf the bundle signed, with the CA", {&c.leaf, &c.root}, {&c.root}, kHost, true},
      {"through an intermediate it sends",
       {&c.leafUnderIntermediate, &c.intermediate},
       {&c.root},
       kHost,
       true},
      {"through an intermediate it leaves out",
       {&c.leafUnderIntermediate},
       {&c.root},
       kHost,
       false},
      {"an intermediate in the bundle is an anchor",
       {&c.leafUnderIntermediate},
       {&c.intermediate},
       kHost,
       true},
      {"another key under a look-alike CA, sent with the bundle's CA",
       {&c.forged, &c.root},
       {&c.root},
       kHost,
       false},
      {"another key under a look-alike CA, sent with it",
       {&c.forged, &c.lookalike, &c.root},
       {&c.root},
       kHost,
       false},
      {"a self-signed leaf, sent with the bundle's CA",
       {&c.selfSigned, &c.root},
       {&c.root},
       kHost,
       false},
      {"a leaf for other hosts", {&c.leaf, &c.root}, {&c.root}, "news.example.org", false},
      {"a wildcard covers one label only", {&c.leaf}, {&c.root}, "a.n.sinaimg.cn", false},
      {"an expired leaf", {&c.expired, &c.root}, {&c.root}, kHost, false},
      {"a leaf for clients only", {&c.clientOnly, &c.root}, {&c.root}, kHost, false},
      {"an issuer without CA:TRUE",
       {&c.leafUnderNotAnAuthority, &c.notAnAuthority},
       {&c.root},
       kHost,
       false},
      {"no bundle", {&c.leaf, &c.root}, {}, kHost, false},
  };

  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    const langxing::testsupport::TempDir dir("langxing-bundle-");
    std::string bundle;
    if (!row.bundle.empty()) {
      std::string pem;
      for (const TestCertificate* certificate : row.bundle) pem += certificate->Pem();
      dir.Write("bundle.pem", pem);
      bundle = (dir.path() / "bundle.pem").string();
    }
    EXPECT_EQ(ChainVerifiesForHost(DerOf(row.sent), row.host, bundle), row.trusted);
    ChainServer server(row.sent);
    EXPECT_EQ(LibcurlAccepts(server, row.host, bundle), row.trusted);
  }

  // A bundle that cannot be read, or holds no certificate, trusts nothing; nor does a chain
  // that does not parse.
  const langxing::testsupport::TempDir dir("langxing-bundle-");
  dir.Write("bundle.pem", c.root.Pem());
  dir.Write("empty.pem", "no certificate here\n");
  const std::string bundle = (dir.path() / "bundle.pem").string();
  EXPECT_TRUE(ChainVerifiesForHost(DerOf({&c.leaf}), kHost, bundle));
  EXPECT_FALSE(ChainVerifiesForHost(DerOf({&c.leaf}), kHost, (dir.path() / "none.pem").string()));
  EXPECT_FALSE(ChainVerifiesForHost(DerOf({&c.leaf}), kHost, (dir.path() / "empty.pem").string()));
  EXPECT_FALSE(ChainVerifiesForHost({c.leaf.Der().substr(1)}, kHost, bundle));
  EXPECT_FALSE(ChainVerifiesForHost({}, kHost, bundle));
}

}  // namespace
