#pragma once
// A tiny plain-HTTP forward proxy on 127.0.0.1: it records every request it receives (in the
// absolute form a client sends to a proxy) and passes it on to the loopback origin named in
// the request line, returning the origin's response.

#include <cstddef>
#include <string>
#include <vector>

#include "tests/support/raw_http_server.h"

namespace nf_test {

class RecordingProxy {
 public:
  RecordingProxy();

  int Port() const { return server_.Port(); }
  // "127.0.0.1:<port>", the form a proxy setting takes.
  std::string HostPort() const { return server_.HostPort(); }
  std::vector<RecordedRequest> Requests() const { return server_.Requests(); }
  std::size_t RequestCount() const { return server_.RequestCount(); }

 private:
  RawHttpServer server_;
};

}  // namespace nf_test
