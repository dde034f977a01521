// UrlHost, UrlPort and UrlPath over arbitrary addresses, and the request line built from them.

#include <cstddef>
#include <cstdint>
#include <fuzzer/FuzzedDataProvider.h>
#include <string>

#include "fuzz/fuzz_support.h"
#include "text/text_find.h"
#include "text/text_helpers.h"
#include "web/curl_transfer.h"
#include "web/url_parts.h"

namespace {

void CheckHost(std::string_view url, bool reduceToDomain, bool keepPort) {
  const std::string host = UrlHost(url, reduceToDomain, keepPort);
  FUZZ_CHECK(host.size() <= url.size(), "the host is longer than the address", HexDump(host));
  FUZZ_CHECK(TextLower(host) == host, "the host is not lower-cased", HexDump(host));
  if (!keepPort) FUZZ_CHECK(TextFind(host, ":") == -1, "the port was kept", HexDump(host));
  if (reduceToDomain) {
    FUZZ_CHECK(TextSplit(host, ".").size() <= 2, "more than the domain was kept", HexDump(host));
  }
}

void CheckPort(std::string_view url) {
  const int port = UrlPort(url);
  const std::string host = UrlHost(url, false, true);
  if (host.find(':') == std::string::npos) {
    const bool https = TextLower(url.substr(0, 5)) == "https";
    FUZZ_CHECK(port == (https ? 443 : 80), "no port given but not the scheme's default",
               std::to_string(port));
  }
}

// The path is the address's own tail; on the request line it holds only printable ASCII.
void CheckPath(std::string_view url) {
  const std::string path = UrlPath(url);
  FUZZ_CHECK(!path.empty() && path.front() == '/', "the path does not start with /", HexDump(path));
  FUZZ_CHECK(path == "/" || url.ends_with(path), "the path is not the address's tail",
             HexDump(path));
  const std::string line = EscapeForRequestLine(path);
  for (char c : line) {
    const auto byte = static_cast<unsigned char>(c);
    FUZZ_CHECK(byte > 0x20 && byte < 0x7F, "a byte unfit for the request line", HexDump(line));
  }
  std::string decoded;
  if (path.find('%') == std::string::npos) {
    FUZZ_CHECK(PercentDecode(line, decoded) && decoded == path,
               "the escaped path does not decode to the path", HexDump(line));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const bool reduceToDomain = in.ConsumeBool();
  const bool keepPort = in.ConsumeBool();
  const std::string url = in.ConsumeRemainingBytesAsString();

  CheckHost(url, reduceToDomain, keepPort);
  CheckPort(url);
  CheckPath(url);
  return 0;
}
