// nf_bench_download: one book through the tool's download path, DownloadWhole and then the
// safe whole-file write, timed; prints one JSON line with the time, the size, the status and
// the process's peak resident memory.
#include <chrono>
#include <iostream>
#include <string>
#include <sys/resource.h>

#include "sys/file_write.h"
#include "web/download_whole.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: nf_bench_download <address> <file>\n";
    return 2;
  }
  std::string address = argv[1];
  using Clock = std::chrono::steady_clock;
  const auto start = Clock::now();
  DownloadStatus status;
  const Bytes body = DownloadWhole(address, &status);
  const auto downloaded = Clock::now();
  std::string failure;
  const bool written = !status.transferFailed && WriteWholeFile(argv[2], body, &failure);
  const auto end = Clock::now();
  const std::chrono::duration<double> seconds = end - start;
  const std::chrono::duration<double> writeSeconds = end - downloaded;

  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::cout << "{\"seconds\": " << seconds.count()
            << ", \"write_seconds\": " << writeSeconds.count() << ", \"bytes\": " << body.size()
            << ", \"http_status\": " << status.httpStatus
            << ", \"peak_rss_kib\": " << usage.ru_maxrss << "}" << std::endl;
  if (status.transferFailed) std::cerr << "nf_bench_download: " << status.error << "\n";
  if (!written && !status.transferFailed) std::cerr << "nf_bench_download: " << failure << "\n";
  return written && status.httpStatus == 200 ? 0 : 1;
}
