#pragma once
// An HTTPS server on 127.0.0.1 (cpp-httplib over OpenSSL) with a given certificate and key.
// It answers every GET and POST with a fixed body and records what it received. Kept apart
// from nf_test_support so that only the tests that need TLS build cpp-httplib with OpenSSL.

#include <cstddef>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace nf_test {

struct TlsRequest {
  std::string method;
  std::string target;  // path and query as requested
  std::string body;
  std::vector<std::pair<std::string, std::string>> headers;  // as cpp-httplib parsed them
};

class TlsHttpServer {
 public:
  TlsHttpServer(const std::string& certFile, const std::string& keyFile, std::string body);
  ~TlsHttpServer();
  TlsHttpServer(const TlsHttpServer&) = delete;
  TlsHttpServer& operator=(const TlsHttpServer&) = delete;

  // False when the certificate or key could not be loaded or no port could be bound.
  bool Running() const;
  int Port() const;
  std::vector<TlsRequest> Requests() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace nf_test
