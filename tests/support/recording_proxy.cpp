#include "tests/support/recording_proxy.h"

#include <atomic>
#include <cstdlib>

#include "tests/support/socket_io.h"

namespace nf_test {

namespace {

struct Target {
  int port = 0;
  std::string originForm;  // the request line with the path alone
};

// "GET http://127.0.0.1:<port>/path HTTP/1.1": the origin's port and the line an origin
// expects. Only loopback origins are served.
std::optional<Target> ParseTarget(const std::string& requestLine) {
  constexpr std::string_view kPrefix = "http://127.0.0.1:";
  const size_t space = requestLine.find(' ');
  if (space == std::string::npos || requestLine.compare(space + 1, kPrefix.size(), kPrefix)) {
    return std::nullopt;
  }
  const size_t portStart = space + 1 + kPrefix.size();
  const size_t pathStart = requestLine.find('/', portStart);
  if (pathStart == std::string::npos) return std::nullopt;
  Target target;
  target.port = std::atoi(requestLine.substr(portStart, pathStart - portStart).c_str());
  target.originForm = requestLine.substr(0, space + 1) + requestLine.substr(pathStart);
  return target;
}

CannedReply Forward(const RecordedRequest& request) {
  const std::string requestLine = request.RequestLine();
  const std::optional<Target> target = ParseTarget(requestLine);
  if (!target) return {HttpResponse(502, "proxy serves loopback origins only")};
  Socket origin = ConnectLoopback(target->port);
  const std::string forwarded =
      target->originForm + request.head.substr(requestLine.size()) + request.body;
  if (!origin.Valid() || !SendAll(origin.Fd(), forwarded)) {
    return {HttpResponse(502, "origin unreachable")};
  }
  const std::atomic<bool> never{false};
  const std::optional<HttpMessage> response =
      ReadHttpMessage(origin.Fd(), never, true, std::chrono::seconds(10));
  if (!response) return {HttpResponse(502, "origin sent nothing")};
  return {response->head + response->body};
}

}  // namespace

RecordingProxy::RecordingProxy() : server_(Forward) {}

}  // namespace nf_test
