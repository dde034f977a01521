#include "demo/demo_site_options.h"

#include <algorithm>

#include "demo/generated_book.h"

DemoSiteOptions Bounded(DemoSiteOptions options) {
  options.largeBookBytes =
      std::clamp(options.largeBookBytes, kGeneratedLineBytes, kMaxLargeBookBytes);
  options.emptySearchAnswers = std::clamp(options.emptySearchAnswers, 0, kMaxEmptyAnswers);
  options.delayMs = std::clamp(options.delayMs, 0, kMaxDelayMs);
  if (options.downloadStatus != 404 && options.downloadStatus != 500) options.downloadStatus = 0;
  options.searchResultCount = std::clamp(options.searchResultCount, -1, kMaxSearchResults);
  options.downloadBytesPerSecond = std::max(options.downloadBytesPerSecond, 0);
  return options;
}
