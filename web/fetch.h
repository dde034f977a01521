#pragma once
// One HTTP or HTTPS request, from start to end, with the engine's default header lines,
// redirect and cookie reporting. Each call stands alone (its own handle, no shared state), so
// calls may run on several threads at once. Failures give an empty body; nothing throws.

#include <atomic>
#include <optional>
#include <string>
#include <string_view>

#include "text/bytes.h"

// The optional parameters. An omitted in-parameter reads as empty or 0; a null out- or
// in/out-parameter is not reported. In/out parameters are rewritten only once the request has
// been opened, so a call that fails earlier leaves them as they were.
struct FetchParams {
  int method = 0;                            // 1: POST; other values GET; non-zero sends a body
  std::string_view bodyText;                 // body, when bodyBytes is empty
  std::string* cookies = nullptr;            // in/out: sent when non-empty, then merged
  std::string* responseCookies = nullptr;    // out: the name=value of each set-cookie line
  std::string* headers = nullptr;            // in/out: extra lines; then all that was sent
  std::string* location = nullptr;           // out: the location line, else the raw headers
  int noRedirect = 0;                        // non-zero: redirects are not followed
  Bytes* bodyBytes = nullptr;                // in/out: body bytes; filled from bodyText
  std::optional<std::string> proxy;          // host:port for plain-HTTP requests; "" = direct
  std::string* rawHeaders = nullptr;         // out: the final response's raw header block
  const std::atomic<bool>* abort = nullptr;  // set by another thread: the transfer ends
};

// The wire carries the request line, Host, User-Agent, the final `headers` lines in order and
// Content-Length when a body is sent, nothing else. A user-agent line in `headers` travels
// instead of the agent field. A failed transfer (refused, stalled, aborted, cut short, header
// block over 1 MiB) gives an empty body, "" raw headers and no response cookies; the merge
// into `cookies` still runs. With a proxy, redirects may lead to http only.
Bytes FetchBytes(std::string_view url, const FetchParams& params = {});

// FetchBytes with the body decoded from UTF-8 into a code page 936 text.
std::string FetchText(std::string_view url, const FetchParams& params = {});
