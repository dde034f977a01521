#pragma once
// Small blocking socket helpers for the test servers: loopback only, every call bounded by a
// stop flag or a time-out so that no test can hang on them.

#include <atomic>
#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace nf_test {

// An owned socket descriptor, closed on destruction.
class Socket {
 public:
  Socket() = default;
  explicit Socket(int fd) : fd_(fd) {}
  ~Socket();
  Socket(Socket&& other) noexcept : fd_(other.Release()) {}
  Socket& operator=(Socket&& other) noexcept;
  Socket(const Socket&) = delete;
  Socket& operator=(const Socket&) = delete;

  int Fd() const { return fd_; }
  bool Valid() const { return fd_ >= 0; }
  int Release();

 private:
  int fd_ = -1;
};

// A socket bound to 127.0.0.1 on a free port; listening unless `listen` is false (then every
// connection to the port is refused).
Socket BindLoopback(bool listen = true);

// The port a bound socket got.
int LocalPort(const Socket& socket);

// A connection to 127.0.0.1:`port`; invalid on failure.
Socket ConnectLoopback(int port);

// Waits until `fd` is readable; false when `stop` turns true or `timeout` passes first.
bool WaitReadable(int fd, const std::atomic<bool>& stop,
                  std::chrono::milliseconds timeout = std::chrono::hours(1));

// Sends every byte; false when the peer went away.
bool SendAll(int fd, std::string_view bytes);

// One HTTP message read from `fd`: the head up to and including its blank line, then as many
// body bytes as its Content-Length says (none without one, unless `bodyToEof`: then up to
// the peer's close). Nothing when the peer closed first, `stop` turned true or no byte came
// for `idleTimeout`.
struct HttpMessage {
  std::string head;
  std::string body;
};
std::optional<HttpMessage> ReadHttpMessage(
    int fd, const std::atomic<bool>& stop, bool bodyToEof = false,
    std::chrono::milliseconds idleTimeout = std::chrono::hours(1));

// The value of the first header line named `name` (any letter case) in a message head, or
// nothing.
std::optional<std::string> HeaderValue(std::string_view head, std::string_view name);

}  // namespace nf_test
