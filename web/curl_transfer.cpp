#include "web/curl_transfer.h"

#include <chrono>

namespace {

struct CurlMultiDeleter {
  void operator()(CURLM* multi) const { curl_multi_cleanup(multi); }
};
using CurlMulti = std::unique_ptr<CURLM, CurlMultiDeleter>;

// How often the run wakes to look at the abort flag and the stall clock.
constexpr int kWakeMs = 25;

// Every byte that moved so far, headers included; a change means the peer is alive.
curl_off_t BytesMoved(CURL* easy) {
  curl_off_t down = 0;
  curl_off_t up = 0;
  long headers = 0;
  curl_easy_getinfo(easy, CURLINFO_SIZE_DOWNLOAD_T, &down);
  curl_easy_getinfo(easy, CURLINFO_SIZE_UPLOAD_T, &up);
  curl_easy_getinfo(easy, CURLINFO_HEADER_SIZE, &headers);
  return down + up + headers;
}

CURLcode FinishedCode(CURLM* multi) {
  int left = 0;
  while (CURLMsg* message = curl_multi_info_read(multi, &left)) {
    if (message->msg == CURLMSG_DONE) return message->data.result;
  }
  return CURLE_RECV_ERROR;
}

// Drives `easy` inside `multi` until it ends, is aborted or stalls.
TransferOutcome Drive(CURLM* multi, CURL* easy, long stallTimeoutMs,
                      const std::atomic<bool>* abort) {
  using Clock = std::chrono::steady_clock;
  const auto stallLimit = std::chrono::milliseconds(stallTimeoutMs);
  auto lastMove = Clock::now();
  curl_off_t moved = -1;
  for (;;) {
    int running = 0;
    const CURLMcode step = curl_multi_perform(multi, &running);
    if (step != CURLM_OK) return {CURLE_FAILED_INIT, curl_multi_strerror(step)};
    if (running == 0) return {FinishedCode(multi), {}};
    if (abort != nullptr && abort->load()) return {CURLE_ABORTED_BY_CALLBACK, "aborted"};
    const auto now = Clock::now();
    if (const curl_off_t nowMoved = BytesMoved(easy); nowMoved != moved) {
      moved = nowMoved;
      lastMove = now;
    } else if (now - lastMove >= stallLimit) {
      return {CURLE_OPERATION_TIMEDOUT, "no data for " + std::to_string(stallTimeoutMs) + " ms"};
    }
    curl_multi_poll(multi, nullptr, 0, kWakeMs, nullptr);
  }
}

bool IsUnsafeInRequestLine(unsigned char byte) { return byte <= 0x20 || byte >= 0x7F; }

}  // namespace

CurlEasy NewTransfer(const WebSettings& settings) {
  WebGlobalInit();
  CurlEasy easy(curl_easy_init());
  if (!easy) return easy;
  CURL* handle = easy.get();
  curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(handle, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
  curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(handle, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT_MS, settings.connectTimeoutMs);
  curl_easy_setopt(handle, CURLOPT_MAXREDIRS, settings.maxRedirects);
  curl_easy_setopt(handle, CURLOPT_PROXY, "");  // "" also keeps *_proxy variables away
  if (!settings.caFile.empty()) {
    curl_easy_setopt(handle, CURLOPT_CAINFO, settings.caFile.c_str());
    curl_easy_setopt(handle, CURLOPT_CAPATH, nullptr);
  }
  return easy;
}

bool AppendHeader(CurlSlist& list, const std::string& line) {
  curl_slist* grown = curl_slist_append(list.get(), line.c_str());
  if (grown == nullptr) return false;
  static_cast<void>(list.release());
  list.reset(grown);
  return true;
}

std::string EscapeForRequestLine(std::string_view url) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string escaped;
  escaped.reserve(url.size());
  for (const char c : url) {
    const auto byte = static_cast<unsigned char>(c);
    if (IsUnsafeInRequestLine(byte)) {
      escaped.append({'%', kHex[byte >> 4], kHex[byte & 0x0F]});
    } else {
      escaped.push_back(c);
    }
  }
  return escaped;
}

TransferOutcome RunTransfer(CURL* easy, long stallTimeoutMs, const std::atomic<bool>* abort) {
  CurlMulti multi(curl_multi_init());
  if (!multi) return {CURLE_OUT_OF_MEMORY, "out of memory"};
  char errorBuffer[CURL_ERROR_SIZE] = {};
  curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, errorBuffer);
  TransferOutcome outcome{CURLE_FAILED_INIT, "could not start the transfer"};
  if (curl_multi_add_handle(multi.get(), easy) == CURLM_OK) {
    outcome = Drive(multi.get(), easy, stallTimeoutMs, abort);
    curl_multi_remove_handle(multi.get(), easy);
  }
  if (outcome.code != CURLE_OK && outcome.error.empty()) {
    outcome.error = errorBuffer[0] != '\0' ? errorBuffer : curl_easy_strerror(outcome.code);
  }
  curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, nullptr);
  return outcome;
}
