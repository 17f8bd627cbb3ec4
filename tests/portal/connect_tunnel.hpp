// SPDX-License-Identifier: GPL-3.0-or-later
// The proxy side of the portal's https: a loopback listener that answers "CONNECT host:port"
// by piping the connection, byte for byte, to the portal's TLS server (or to another TLS server
// a test routed that host to), and pipes any other request to the portal's plain server, so one
// proxy address serves http and https alike.
#pragma once

#include <atomic>
#include <list>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace langxing::testportal {

class ConnectTunnel {
 public:
  // Listens on a free loopback port; CONNECT goes to `tlsPort`, everything else to `plainPort`.
  ConnectTunnel(int plainPort, int tlsPort);
  ~ConnectTunnel();  // Stop()
  ConnectTunnel(const ConnectTunnel&) = delete;
  ConnectTunnel& operator=(const ConnectTunnel&) = delete;

  int Port() const { return port_; }
  // From now on, "CONNECT host:…" goes to `tlsPort` instead (host compared without case).
  void RouteHost(const std::string& host, int tlsPort);
  // Closes the listener and every open pipe; calling it twice is harmless.
  void Stop();

 private:
  void Accept();
  void Serve(int client);
  int TlsPortFor(const std::string& head);

  int plainPort_, tlsPort_;
  int listener_ = -1;
  int port_ = 0;
  std::atomic<bool> stopping_{false};
  std::thread acceptor_;
  struct Connection {
    std::thread thread;
    std::shared_ptr<std::atomic<bool>> done;
  };
  std::mutex mutex_;                   // guards connections_ and routes_
  std::map<std::string, int> routes_;  // lower-case host -> TLS port
  std::list<Connection> connections_;  // finished ones are joined at the next accept
};

}  // namespace langxing::testportal
