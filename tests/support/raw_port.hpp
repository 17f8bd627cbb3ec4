// SPDX-License-Identifier: GPL-3.0-or-later
// A socket bound to a free loopback port, for the failures a server cannot stage. With Listen(),
// connections complete in the kernel but nobody ever reads or answers; without it, connecting
// is refused (the port stays ours, so no other program takes it meanwhile).
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>

namespace langxing::test_support {

class RawPort {
 public:
  RawPort() {
    fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    ::bind(fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    socklen_t len = sizeof addr;
    ::getsockname(fd_, reinterpret_cast<sockaddr*>(&addr), &len);
    port_ = ntohs(addr.sin_port);
  }
  ~RawPort() { Close(); }
  RawPort(const RawPort&) = delete;
  RawPort& operator=(const RawPort&) = delete;

  void Listen() { ::listen(fd_, 16); }
  void Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }
  int port() const { return port_; }
  std::string Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
  }

 private:
  int fd_ = -1;
  int port_ = 0;
};

}  // namespace langxing::test_support
