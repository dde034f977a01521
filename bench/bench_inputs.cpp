#include "bench/bench_inputs.h"

#include <algorithm>

#include "demo/demo_catalogue.h"
#include "demo/demo_pages.h"
#include "demo/generated_book.h"

std::string SearchPageUtf8(int resultCount) {
  return MakeSearchPage(kBenchKeywordUtf8, resultCount);
}

std::string NoMatchPageUtf8(std::size_t minBytes) {
  // Rows are alike in size: measure a hundred, then grow the count until the page is big
  // enough. The generator writes every line end as CR LF and no other CR.
  const std::size_t perRow = SearchPageUtf8(100).size() / 100 + 1;
  for (int rows = static_cast<int>(minBytes / perRow) + 1;; rows += rows / 16 + 1) {
    std::string page = SearchPageUtf8(rows);
    std::erase(page, '\r');
    if (page.size() >= minBytes) return page;
  }
}

std::string ChineseTextGbk(std::size_t bytes) {
  std::string text;
  AppendGeneratedBytes(0, bytes, bytes, text);
  return text;
}

std::string LargeBookPath(std::uint64_t bookBytes) {
  DemoSiteOptions options;
  options.largeBookBytes = bookBytes;
  for (const DemoBook& book : DemoCatalogue(options)) {
    if (book.generated) return DemoBookFilePath(book);
  }
  return {};
}
