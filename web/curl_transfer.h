#pragma once
// What every transfer of this module shares: owned libcurl handles, the options that hold for
// all of them, and one blocking run that a stall or an abort flag can end. Internal to web/.

#include <atomic>
#include <curl/curl.h>
#include <memory>
#include <string>
#include <string_view>

#include "web/web_settings.h"

struct CurlEasyDeleter {
  void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
using CurlEasy = std::unique_ptr<CURL, CurlEasyDeleter>;

struct CurlSlistDeleter {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using CurlSlist = std::unique_ptr<curl_slist, CurlSlistDeleter>;

// A fresh easy handle with the options every transfer shares: the settings' connect time-out,
// redirect limit and CA file, HTTP/1.1, http and https only, no signals, no proxy (not even
// one named by the environment). Null when libcurl cannot make one.
CurlEasy NewTransfer(const WebSettings& settings);

// Appends `line` to `list`; false (and `list` unchanged) when libcurl is out of memory.
bool AppendHeader(CurlSlist& list, const std::string& line);

// The address with every byte that may not stand in a request line as it is (controls,
// space, DEL, and bytes of 0x80 or more, which libcurl would otherwise escape in the path
// alone) written as "%" and two upper-case hex digits. Servers read both forms as the same
// bytes, so a code page 936 name reaches them unchanged.
std::string EscapeForRequestLine(std::string_view url);

struct TransferOutcome {
  CURLcode code = CURLE_OK;
  std::string error;  // plain ASCII words when code is not CURLE_OK
};

// Runs the transfer to its end. It fails with CURLE_ABORTED_BY_CALLBACK as soon as `*abort`
// becomes true, and with CURLE_OPERATION_TIMEDOUT when no byte has moved for `stallTimeoutMs`.
TransferOutcome RunTransfer(CURL* easy, long stallTimeoutMs,
                            const std::atomic<bool>* abort = nullptr);
