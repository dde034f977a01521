#pragma once
// A local HTTP server for tests that check the exact wire: it listens on 127.0.0.1 on a port
// of its own, records every request byte for byte, and answers each one with a canned reply
// (which may also stall, hold the connection open or cut it short).

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace nf_test {

struct RecordedRequest {
  std::string head;  // request line and header lines, up to and including the blank line
  std::string body;  // the body, as long as its Content-Length said

  std::string Raw() const { return head + body; }
  std::string RequestLine() const;
  // Header lines after the request line, in order, without their CR LF.
  std::vector<std::string> HeaderLines() const;
  // The value of the first header line of that name (any letter case); "" when there is none.
  std::string Header(std::string_view name) const;
  // How many header lines carry that name (any letter case).
  int HeaderCount(std::string_view name) const;
};

struct CannedReply {
  enum class Then {
    kClose,     // close the connection after sending
    kKeepOpen,  // read the next request on the same connection
    kHold,      // send nothing more and keep the connection open until the server stops
  };
  std::string bytes;                   // sent exactly as they are
  std::chrono::milliseconds delay{0};  // wait this long before sending
  Then then = Then::kClose;
};

// A whole response: "HTTP/1.1 <status> <reason>", the given header lines, Content-Length
// (left out when `withLength` is false) and the body.
std::string HttpResponse(int status, std::string_view body = "",
                         const std::vector<std::string>& headerLines = {}, bool withLength = true);

class RawHttpServer {
 public:
  using Responder = std::function<CannedReply(const RecordedRequest&)>;

  explicit RawHttpServer(Responder responder);
  // Every request gets the same reply.
  explicit RawHttpServer(CannedReply reply);
  // Every request gets these bytes, and the connection is closed after them.
  explicit RawHttpServer(std::string replyBytes);
  ~RawHttpServer();
  RawHttpServer(const RawHttpServer&) = delete;
  RawHttpServer& operator=(const RawHttpServer&) = delete;

  int Port() const;
  // "http://127.0.0.1:<port>" followed by `path`.
  std::string Url(std::string_view path = "/") const;
  // "127.0.0.1:<port>".
  std::string HostPort() const;

  std::vector<RecordedRequest> Requests() const;
  std::size_t RequestCount() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// A loopback port where nothing listens: every connection is refused while the object lives.
class RefusingPort {
 public:
  RefusingPort();
  ~RefusingPort();
  RefusingPort(const RefusingPort&) = delete;
  RefusingPort& operator=(const RefusingPort&) = delete;

  int Port() const { return port_; }
  std::string Url(std::string_view path = "/") const;

 private:
  int fd_ = -1;
  int port_ = 0;
};

}  // namespace nf_test
