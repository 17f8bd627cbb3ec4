// SPDX-License-Identifier: GPL-3.0-or-later
// langxing-test-portal [--sample CHAN_DLL] [--fixtures DIR] [--port N]
// Serves the fixture portal (and, with --sample, a generated portal for every channel of the
// channel file, and today's article pages over https) on a loopback port until SIGINT or
// SIGTERM. stdout's first line is the address to use as http_proxy, the second the one for
// https_proxy, the third the test CA's certificate file for CURL_CA_BUNDLE.
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "tests/portal/sample_portal.hpp"
#include "tests/portal/sample_today_articles.hpp"
#include "tests/portal/test_portal.hpp"

namespace {

int Usage(const char* message) {
  std::cerr << "langxing-test-portal: " << message << "\n"
            << "usage: langxing-test-portal [--sample CHAN_DLL] [--fixtures DIR] [--port N]\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace langxing::testportal;
  std::filesystem::path fixtures = DefaultFixtureRoot();
  std::string sample;
  int port = 0;
  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    if (option == "--help" || option == "-h") return Usage("serves the local portal");
    if (i + 1 >= argc) return Usage(("missing value after " + option).c_str());
    const std::string value = argv[++i];
    if (option == "--sample") {
      sample = value;
    } else if (option == "--fixtures") {
      fixtures = value;
    } else if (option == "--port") {
      try {
        port = std::stoi(value);
      } catch (const std::exception&) {
        port = -1;
      }
      if (port < 0 || port > 65535) return Usage("--port needs a number from 0 to 65535");
    } else {
      return Usage(("unknown option " + option).c_str());
    }
  }

  // Block the stop signals before any server thread starts, so that only sigwait sees them.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

  try {
    TestPortal portal(fixtures, port);
    if (!sample.empty()) {
      std::ifstream in(sample, std::ios::binary);
      if (!in) {
        std::cerr << "langxing-test-portal: cannot read " << sample << "\n";
        return 1;
      }
      std::ostringstream bytes;
      bytes << in.rdbuf();
      const auto channels = ReadChannels(bytes.str());
      for (auto& [url, page] : SamplePages(channels)) portal.SetPage(url, std::move(page));
      std::cerr << "langxing-test-portal: " << channels.size() << " sample channels\n";
      for (auto& [url, page] : SampleTodayPictures()) portal.SetPage(url, std::move(page));
      portal.SetPageGenerator([](const std::string& url) { return SampleTodayArticle(url); });
    }
    portal.EnableTls();
    // Flushed: the caller waits for these lines.
    std::cout << portal.ProxyUrl() << '\n'
              << portal.HttpsProxyUrl() << '\n'
              << portal.CaBundlePath().string() << std::endl;
    int received = 0;
    sigwait(&stopSignals, &received);
  } catch (const std::exception& error) {
    std::cerr << "langxing-test-portal: " << error.what() << "\n";
    return 1;
  }
  return 0;
}
