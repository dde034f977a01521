#pragma once
// Everything one address serves, in one blocking GET: redirects followed, no header chosen by
// the tool. The status is not looked at, so an error page's body comes back like any other;
// callers that care read the DownloadStatus.

#include <cstdint>
#include <functional>
#include <string>

#include "text/bytes.h"

struct DownloadStatus {
  long httpStatus = 0;          // the final response's status; 0 when none arrived
  bool transferFailed = false;  // the transfer itself failed (no connection, cut off, ...)
  std::string error;            // why, in plain ASCII words, when transferFailed
};

// Called as bytes arrive: received so far, and the total when the server said it (else 0).
// Returning false aborts the transfer.
using DownloadProgress = std::function<bool(std::uint64_t received, std::uint64_t total)>;

// An address without a scheme gets "http://" in front, written back into `address`.
Bytes DownloadWhole(std::string& address, DownloadStatus* status = nullptr,
                    const DownloadProgress& progress = {});
