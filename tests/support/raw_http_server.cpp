#include "tests/support/raw_http_server.h"

#include <atomic>
#include <cctype>
#include <condition_variable>
#include <mutex>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

#include "tests/support/socket_io.h"

namespace nf_test {

namespace {

std::string ReasonPhrase(int status) {
  switch (status) {
    case 200:
      return "OK";
    case 301:
      return "Moved Permanently";
    case 302:
      return "Found";
    case 303:
      return "See Other";
    case 307:
      return "Temporary Redirect";
    case 404:
      return "Not Found";
    case 500:
      return "Internal Server Error";
    default:
      return "Status";
  }
}

bool NameIs(std::string_view line, std::string_view name) {
  const size_t colon = line.find(':');
  if (colon != name.size()) return false;
  for (size_t i = 0; i < colon; ++i) {
    if (std::tolower(static_cast<unsigned char>(line[i])) !=
        std::tolower(static_cast<unsigned char>(name[i]))) {
      return false;
    }
  }
  return true;
}

}  // namespace

std::string RecordedRequest::RequestLine() const { return head.substr(0, head.find("\r\n")); }

std::vector<std::string> RecordedRequest::HeaderLines() const {
  std::vector<std::string> lines;
  size_t start = head.find("\r\n");
  while (start != std::string::npos) {
    start += 2;
    const size_t end = head.find("\r\n", start);
    if (end == std::string::npos || end == start) break;
    lines.push_back(head.substr(start, end - start));
    start = end;
  }
  return lines;
}

std::string RecordedRequest::Header(std::string_view name) const {
  return HeaderValue(head, name).value_or("");
}

int RecordedRequest::HeaderCount(std::string_view name) const {
  int count = 0;
  for (const std::string& line : HeaderLines()) count += NameIs(line, name) ? 1 : 0;
  return count;
}

std::string HttpResponse(int status, std::string_view body,
                         const std::vector<std::string>& headerLines, bool withLength) {
  std::string response = "HTTP/1.1 " + std::to_string(status) + " " + ReasonPhrase(status) + "\r\n";
  for (const std::string& line : headerLines) response += line + "\r\n";
  if (withLength) response += "Content-Length: " + std::to_string(body.size()) + "\r\n";
  response += "\r\n";
  response += body;
  return response;
}

struct RawHttpServer::State {
  Responder responder;
  Socket listener;
  int port = 0;
  std::atomic<bool> stopping{false};
  mutable std::mutex mutex;
  std::condition_variable stopped;
  std::vector<RecordedRequest> requests;
  std::vector<std::thread> connections;
  std::thread acceptor;

  void Accept() {
    while (WaitReadable(listener.Fd(), stopping)) {
      Socket connection(accept4(listener.Fd(), nullptr, nullptr, SOCK_CLOEXEC));
      if (!connection.Valid()) continue;
      const std::lock_guard lock(mutex);
      connections.emplace_back([this, c = std::move(connection)]() mutable { Serve(c); });
    }
  }

  void Serve(Socket& connection) {
    for (;;) {
      std::optional<HttpMessage> message = ReadHttpMessage(connection.Fd(), stopping);
      if (!message) return;
      RecordedRequest request{std::move(message->head), std::move(message->body)};
      {
        const std::lock_guard lock(mutex);
        requests.push_back(request);
      }
      const CannedReply reply = responder(request);
      if (reply.delay.count() > 0 && Wait(reply.delay)) return;
      if (!SendAll(connection.Fd(), reply.bytes)) return;
      if (reply.then == CannedReply::Then::kClose) return;
      if (reply.then == CannedReply::Then::kHold) {
        Wait(std::chrono::hours(1));
        return;
      }
    }
  }

  // Sleeps for `duration` or until the server stops; true when it stopped.
  bool Wait(std::chrono::milliseconds duration) {
    std::unique_lock lock(mutex);
    return stopped.wait_for(lock, duration, [this] { return stopping.load(); });
  }
};

RawHttpServer::RawHttpServer(Responder responder) : state_(std::make_unique<State>()) {
  state_->responder = std::move(responder);
  state_->listener = BindLoopback();
  state_->port = LocalPort(state_->listener);
  state_->acceptor = std::thread([state = state_.get()] { state->Accept(); });
}

RawHttpServer::RawHttpServer(CannedReply reply)
    : RawHttpServer([reply = std::move(reply)](const RecordedRequest&) { return reply; }) {}

RawHttpServer::RawHttpServer(std::string replyBytes)
    : RawHttpServer(CannedReply{std::move(replyBytes)}) {}

RawHttpServer::~RawHttpServer() {
  {
    const std::lock_guard lock(state_->mutex);
    state_->stopping = true;
  }
  state_->stopped.notify_all();
  state_->acceptor.join();
  // No new connection thread can start once the acceptor has ended.
  for (std::thread& connection : state_->connections) connection.join();
}

int RawHttpServer::Port() const { return state_->port; }

std::string RawHttpServer::Url(std::string_view path) const {
  return "http://" + HostPort() + std::string(path);
}

std::string RawHttpServer::HostPort() const { return "127.0.0.1:" + std::to_string(Port()); }

std::vector<RecordedRequest> RawHttpServer::Requests() const {
  const std::lock_guard lock(state_->mutex);
  return state_->requests;
}

std::size_t RawHttpServer::RequestCount() const {
  const std::lock_guard lock(state_->mutex);
  return state_->requests.size();
}

RefusingPort::RefusingPort() {
  Socket socket = BindLoopback(false);
  port_ = LocalPort(socket);
  fd_ = socket.Release();
}

RefusingPort::~RefusingPort() {
  if (fd_ >= 0) close(fd_);
}

std::string RefusingPort::Url(std::string_view path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + std::string(path);
}

}  // namespace nf_test
