// nf_bench_inputs: writes the benchmark inputs for the programs that are not ours (Python,
// iconv, curl), so every side of a comparison reads the same bytes.
//   nf_bench_inputs pages <dir>         search_<K>.html, nomatch.html, result_pattern.txt
//   nf_bench_inputs book-path <bytes>   prints the generated book's path on the file server
#include <charconv>
#include <fstream>
#include <iostream>
#include <string>
#include <string_view>

#include "bench/bench_inputs.h"
#include "text/code_page.h"
#include "web/site_patterns.h"

namespace {

bool WriteFile(const std::string& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out.flush());
}

int WritePages(const std::string& dir) {
  bool ok = WriteFile(dir + "/result_pattern.txt", GbkToUtf8(kResultPattern)) &&
            WriteFile(dir + "/nomatch.html", NoMatchPageUtf8());
  for (int rows : {10, 100, 1'000, 10'000}) {
    ok = ok && WriteFile(dir + "/search_" + std::to_string(rows) + ".html", SearchPageUtf8(rows));
  }
  if (!ok) std::cerr << "nf_bench_inputs: cannot write into " << dir << "\n";
  return ok ? 0 : 1;
}

int PrintBookPath(std::string_view bytesText) {
  std::uint64_t bytes = 0;
  const auto [end, error] =
      std::from_chars(bytesText.data(), bytesText.data() + bytesText.size(), bytes);
  if (error != std::errc() || end != bytesText.data() + bytesText.size()) {
    std::cerr << "nf_bench_inputs: not a byte count: " << bytesText << "\n";
    return 2;
  }
  std::cout << LargeBookPath(bytes) << "\n";
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string_view command = argc == 3 ? argv[1] : "";
  if (command == "pages") return WritePages(argv[2]);
  if (command == "book-path") return PrintBookPath(argv[2]);
  std::cerr << "usage: nf_bench_inputs pages <dir> | book-path <bytes>\n";
  return 2;
}
