// SPDX-License-Identifier: GPL-3.0-or-later
// A loopback HTTPS server presenting a chain of test certificates as it is given (the server's
// own first, its key the first one's), for clients that must decide whether to trust it.
#pragma once

#include <string>
#include <vector>

#include "tests/portal/test_ca.hpp"
#include "tests/support/loopback_server.hpp"
#include "tests/support/temp_dir.hpp"

class ChainServer {
 public:
  explicit ChainServer(const std::vector<const langxing::testportal::TestCertificate*>& chain)
      : files_("langxing-chain-"), server_(Write(files_, chain)) {
    server_.Start();
  }

  langxing::test_support::LoopbackServer& server() { return server_; }
  int port() const { return server_.port(); }

 private:
  static langxing::test_support::LoopbackServer::TlsFiles Write(
      const langxing::testsupport::TempDir& files,
      const std::vector<const langxing::testportal::TestCertificate*>& chain) {
    std::string pem;
    for (const auto* certificate : chain) pem += certificate->Pem();
    files.Write("chain.pem", pem);
    files.Write("key.pem", chain.front()->KeyPem());
    return {(files.path() / "chain.pem").string(), (files.path() / "key.pem").string()};
  }

  langxing::testsupport::TempDir files_;  // before the server, which reads them as it starts
  langxing::test_support::LoopbackServer server_;
};
