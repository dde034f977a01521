#include "tests/support/tls_http_server.h"

#include <atomic>
#include <chrono>
#include <httplib.h>
#include <mutex>
#include <thread>

namespace nf_test {

struct TlsHttpServer::State {
  State(const std::string& certFile, const std::string& keyFile)
      : server(certFile.c_str(), keyFile.c_str()) {}

  httplib::SSLServer server;
  std::string body;
  int port = -1;
  mutable std::mutex mutex;
  std::vector<TlsRequest> requests;
  std::atomic<bool> finished{false};
  std::thread thread;

  void Answer(const httplib::Request& request, httplib::Response& response) {
    TlsRequest seen{request.method, request.target, request.body, {}};
    for (const auto& [name, value] : request.headers) seen.headers.emplace_back(name, value);
    {
      const std::lock_guard lock(mutex);
      requests.push_back(std::move(seen));
    }
    response.set_content(body, "text/plain");
  }
};

TlsHttpServer::TlsHttpServer(const std::string& certFile, const std::string& keyFile,
                             std::string body)
    : state_(std::make_unique<State>(certFile, keyFile)) {
  state_->body = std::move(body);
  if (!state_->server.is_valid()) return;
  const auto answer = [state = state_.get()](const httplib::Request& request,
                                             httplib::Response& response) {
    state->Answer(request, response);
  };
  state_->server.Get(".*", answer);
  state_->server.Post(".*", answer);
  state_->port = state_->server.bind_to_any_port("127.0.0.1");
  // The socket already listens, so connections made before the thread runs simply queue.
  if (state_->port > 0) {
    state_->thread = std::thread([state = state_.get()] {
      state->server.listen_after_bind();
      state->finished = true;
    });
  }
}

TlsHttpServer::~TlsHttpServer() {
  if (!state_->thread.joinable()) return;
  // stop() does nothing until the loop runs, so repeat it until the loop has ended.
  while (!state_->finished) {
    state_->server.stop();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  state_->thread.join();
}

bool TlsHttpServer::Running() const { return state_->port > 0; }

int TlsHttpServer::Port() const { return state_->port; }

std::vector<TlsRequest> TlsHttpServer::Requests() const {
  const std::lock_guard lock(state_->mutex);
  return state_->requests;
}

}  // namespace nf_test
