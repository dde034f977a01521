#include "tests/support/socket_io.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace nf_test {

namespace {

constexpr std::chrono::milliseconds kPollStep{20};

sockaddr_in LoopbackAddress(int port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return address;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

// Reads what is available into `buffer`; false on close, error or stop.
bool ReadSome(int fd, std::string& buffer, const std::atomic<bool>& stop,
              std::chrono::milliseconds idleTimeout) {
  if (!WaitReadable(fd, stop, idleTimeout)) return false;
  char chunk[16384];
  const ssize_t got = recv(fd, chunk, sizeof chunk, 0);
  if (got <= 0) return false;
  buffer.append(chunk, static_cast<size_t>(got));
  return true;
}

}  // namespace

Socket::~Socket() {
  if (fd_ >= 0) close(fd_);
}

Socket& Socket::operator=(Socket&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) close(fd_);
    fd_ = other.Release();
  }
  return *this;
}

int Socket::Release() {
  const int fd = fd_;
  fd_ = -1;
  return fd;
}

Socket BindLoopback(bool listen) {
  Socket socket(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
  if (!socket.Valid()) return socket;
  const sockaddr_in address = LoopbackAddress(0);
  if (bind(socket.Fd(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
      (listen && ::listen(socket.Fd(), 64) != 0)) {
    return Socket();
  }
  return socket;
}

int LocalPort(const Socket& socket) {
  sockaddr_in address{};
  socklen_t length = sizeof address;
  if (getsockname(socket.Fd(), reinterpret_cast<sockaddr*>(&address), &length) != 0) return 0;
  return ntohs(address.sin_port);
}

Socket ConnectLoopback(int port) {
  Socket socket(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
  if (!socket.Valid()) return socket;
  const sockaddr_in address = LoopbackAddress(port);
  if (connect(socket.Fd(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    return Socket();
  }
  return socket;
}

bool WaitReadable(int fd, const std::atomic<bool>& stop, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!stop.load()) {
    pollfd entry{fd, POLLIN, 0};
    const int ready = poll(&entry, 1, static_cast<int>(kPollStep.count()));
    if (ready > 0) return true;
    if (ready < 0 && errno != EINTR) return false;
    if (std::chrono::steady_clock::now() >= deadline) return false;
  }
  return false;
}

bool SendAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t sent = send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (sent < 0 && errno == EINTR) continue;
    if (sent <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(sent));
  }
  return true;
}

std::optional<HttpMessage> ReadHttpMessage(int fd, const std::atomic<bool>& stop, bool bodyToEof,
                                           std::chrono::milliseconds idleTimeout) {
  std::string buffer;
  size_t headEnd = std::string::npos;
  while ((headEnd = buffer.find("\r\n\r\n")) == std::string::npos) {
    if (!ReadSome(fd, buffer, stop, idleTimeout)) return std::nullopt;
  }
  HttpMessage message{buffer.substr(0, headEnd + 4), buffer.substr(headEnd + 4)};
  const std::optional<std::string> length = HeaderValue(message.head, "Content-Length");
  if (length) {
    const size_t wanted = std::strtoull(length->c_str(), nullptr, 10);
    while (message.body.size() < wanted && ReadSome(fd, message.body, stop, idleTimeout)) {
    }
    if (message.body.size() > wanted) message.body.resize(wanted);
  } else if (bodyToEof) {
    while (ReadSome(fd, message.body, stop, idleTimeout)) {
    }
  }
  return message;
}

std::optional<std::string> HeaderValue(std::string_view head, std::string_view name) {
  size_t lineStart = head.find("\r\n");
  while (lineStart != std::string_view::npos) {
    lineStart += 2;
    const size_t lineEnd = head.find("\r\n", lineStart);
    const std::string_view line = head.substr(lineStart, lineEnd - lineStart);
    const size_t colon = line.find(':');
    if (colon != std::string_view::npos && EqualsIgnoringCase(line.substr(0, colon), name)) {
      std::string_view value = line.substr(colon + 1);
      while (!value.empty() && value.front() == ' ') value.remove_prefix(1);
      return std::string(value);
    }
    lineStart = lineEnd;
  }
  return std::nullopt;
}

}  // namespace nf_test
