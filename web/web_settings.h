#pragma once
// Process-wide settings of every transfer: limits the platform's HTTP objects had and
// libcurl lacks, and the CA certificates to trust. Set once at start (tests shorten the
// time-outs); read by every call.

#include <string>

struct WebSettings {
  std::string caFile;              // PEM certificates used instead of the system's store
  long connectTimeoutMs = 30'000;  // no connection within this: the transfer fails
  long stallTimeoutMs = 60'000;    // no byte for this long: the transfer fails
  long maxRedirects = 20;
};

void SetWebSettings(const WebSettings& settings);
WebSettings CurrentWebSettings();

// libcurl's global set-up; called once before any thread starts a transfer (idempotent).
void WebGlobalInit();
