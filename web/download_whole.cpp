#include "web/download_whole.h"

#include <algorithm>
#include <new>

#include "text/text_helpers.h"
#include "web/curl_transfer.h"

namespace {

// Reserving from Content-Length avoids copying a large body as it grows; a lying header
// cannot make us reserve more than this up front.
constexpr std::uint64_t kMaxReserve = std::uint64_t{1} << 30;

// libcurl reads 16 KiB per call by default, so a large book costs a receive, a poll and a
// callback every 16 KiB; larger reads cut that overhead several times over.
constexpr long kReceiveBufferBytes = 512 * 1024;

bool HasHttpScheme(std::string_view address) {
  const std::string lower = TextLower(address.substr(0, 8));
  return lower.starts_with("http://") || lower.starts_with("https://");
}

struct Sink {
  CURL* easy = nullptr;
  const DownloadProgress* progress = nullptr;
  Bytes body;
};

std::uint64_t AnnouncedLength(CURL* easy) {
  curl_off_t length = -1;
  curl_easy_getinfo(easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
  return length > 0 ? static_cast<std::uint64_t>(length) : 0;
}

// Redirect bodies are skipped by libcurl, so the first call belongs to the final response.
size_t Receive(char* data, size_t size, size_t count, void* opaque) {
  auto& sink = *static_cast<Sink*>(opaque);
  const size_t length = size * count;
  const std::uint64_t total = AnnouncedLength(sink.easy);
  try {
    if (sink.body.empty()) sink.body.reserve(std::min(total, kMaxReserve));
    sink.body.insert(sink.body.end(), data, data + length);
  } catch (const std::bad_alloc&) {
    return 0;
  }
  if (*sink.progress && !(*sink.progress)(sink.body.size(), total)) return 0;
  return length;
}

}  // namespace

Bytes DownloadWhole(std::string& address, DownloadStatus* status,
                    const DownloadProgress& progress) {
  DownloadStatus local;
  DownloadStatus& report = status != nullptr ? *status : local;
  report = DownloadStatus{};
  if (!HasHttpScheme(address)) address.insert(0, "http://");

  const WebSettings settings = CurrentWebSettings();
  CurlEasy easy = NewTransfer(settings);
  if (!easy) {
    report.transferFailed = true;
    report.error = "could not create a transfer";
    return {};
  }
  CURL* handle = easy.get();
  // No header of the tool's choosing: libcurl sends no User-Agent unless told; Accept is its
  // own addition and is silenced here.
  CurlSlist headers;
  if (!AppendHeader(headers, "Accept:")) return {};
  Sink sink{handle, &progress, {}};
  const std::string curlUrl = EscapeForRequestLine(address);
  curl_easy_setopt(handle, CURLOPT_URL, curlUrl.c_str());
  curl_easy_setopt(handle, CURLOPT_HTTPGET, 1L);
  curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(handle, CURLOPT_HTTPHEADER, headers.get());
  curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, Receive);
  curl_easy_setopt(handle, CURLOPT_WRITEDATA, &sink);
  curl_easy_setopt(handle, CURLOPT_BUFFERSIZE, kReceiveBufferBytes);

  const TransferOutcome outcome = RunTransfer(handle, settings.stallTimeoutMs);
  curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &report.httpStatus);
  if (outcome.code != CURLE_OK) {
    report.transferFailed = true;
    report.error = outcome.error;
    return {};
  }
  return std::move(sink.body);
}
