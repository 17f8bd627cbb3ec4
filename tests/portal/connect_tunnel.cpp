// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/portal/connect_tunnel.hpp"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <stdexcept>
#include <string>

namespace langxing::testportal {
namespace {

constexpr int kPollMilliseconds = 100;        // how soon a stop is noticed
constexpr std::size_t kMaxHeadBytes = 16384;  // a request head longer than this is refused

int ConnectLoopback(int port) {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    close(fd);
    return -1;
  }
  const int yes = 1;
  setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
  return fd;
}

bool SendAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t sent = send(fd, data, size, MSG_NOSIGNAL);
    if (sent <= 0) return false;
    data += sent;
    size -= static_cast<std::size_t>(sent);
  }
  return true;
}

std::string Lowered(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

// The host of "CONNECT host:port HTTP/1.1", lower-case.
std::string ConnectHost(const std::string& head) {
  const std::size_t start = head.find(' ') + 1;
  const std::size_t end = head.find_first_of(": \r", start);
  return Lowered(head.substr(start, end == std::string::npos ? end : end - start));
}

}  // namespace

ConnectTunnel::ConnectTunnel(int plainPort, int tlsPort)
    : plainPort_(plainPort), tlsPort_(tlsPort) {
  listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (listener_ < 0) throw std::runtime_error("ConnectTunnel: no socket");
  const int yes = 1;
  setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      listen(listener_, 64) != 0 ||
      getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    close(listener_);
    throw std::runtime_error("ConnectTunnel: cannot listen on a loopback port");
  }
  port_ = ntohs(address.sin_port);
  acceptor_ = std::thread([this] { Accept(); });
}

ConnectTunnel::~ConnectTunnel() { Stop(); }

void ConnectTunnel::Stop() {
  if (stopping_.exchange(true)) return;
  if (acceptor_.joinable()) acceptor_.join();
  close(listener_);
  std::list<Connection> connections;
  {
    std::lock_guard lock(mutex_);
    connections.swap(connections_);
  }
  for (Connection& c : connections) c.thread.join();
}

void ConnectTunnel::RouteHost(const std::string& host, int tlsPort) {
  std::lock_guard lock(mutex_);
  routes_[Lowered(host)] = tlsPort;
}

int ConnectTunnel::TlsPortFor(const std::string& head) {
  std::lock_guard lock(mutex_);
  const auto route = routes_.find(ConnectHost(head));
  return route != routes_.end() ? route->second : tlsPort_;
}

void ConnectTunnel::Accept() {
  while (!stopping_) {
    pollfd waiting{listener_, POLLIN, 0};
    if (poll(&waiting, 1, kPollMilliseconds) <= 0) continue;
    const int client = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (client < 0) continue;
    std::lock_guard lock(mutex_);
    for (auto it = connections_.begin(); it != connections_.end();) {
      if (it->done->load()) {
        it->thread.join();
        it = connections_.erase(it);
      } else {
        ++it;
      }
    }
    auto done = std::make_shared<std::atomic<bool>>(false);
    connections_.push_back({std::thread([this, client, done] {
                              Serve(client);
                              done->store(true);
                            }),
                            done});
  }
}

// Reads the request head, picks the server, then copies bytes both ways until either side
// closes or the tunnel stops.
void ConnectTunnel::Serve(int client) {
  std::string head;
  char buffer[16384];
  while (head.find("\r\n\r\n") == std::string::npos && head.size() < kMaxHeadBytes) {
    pollfd waiting{client, POLLIN, 0};
    if (stopping_) break;
    if (poll(&waiting, 1, kPollMilliseconds) <= 0) continue;
    const ssize_t got = recv(client, buffer, sizeof buffer, 0);
    if (got <= 0) break;
    head.append(buffer, static_cast<std::size_t>(got));
  }
  const std::size_t headEnd = head.find("\r\n\r\n");
  if (headEnd == std::string::npos) {
    close(client);
    return;
  }
  const bool isConnect = head.starts_with("CONNECT ");
  const int server = ConnectLoopback(isConnect ? TlsPortFor(head) : plainPort_);
  if (server < 0) {
    const std::string refusal = "HTTP/1.1 502 Bad Gateway\r\nContent-Length: 0\r\n\r\n";
    SendAll(client, refusal.data(), refusal.size());
    close(client);
    return;
  }
  bool open;
  if (isConnect) {
    // What follows the head already belongs to the tunnel (a client may not wait for the 200).
    const std::string established = "HTTP/1.1 200 Connection established\r\n\r\n";
    open = SendAll(client, established.data(), established.size()) &&
           SendAll(server, head.data() + headEnd + 4, head.size() - headEnd - 4);
  } else {
    open = SendAll(server, head.data(), head.size());
  }
  pollfd ends[2] = {{client, POLLIN, 0}, {server, POLLIN, 0}};
  while (open && !stopping_) {
    if (poll(ends, 2, kPollMilliseconds) <= 0) continue;
    for (int i = 0; i < 2 && open; ++i) {
      if ((ends[i].revents & (POLLIN | POLLHUP | POLLERR)) == 0) continue;
      const ssize_t got = recv(ends[i].fd, buffer, sizeof buffer, 0);
      open = got > 0 && SendAll(ends[1 - i].fd, buffer, static_cast<std::size_t>(got));
    }
  }
  close(server);
  close(client);
}

}  // namespace langxing::testportal
