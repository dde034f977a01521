#include "sys/font_warm_up.h"

#include <future>

#if NF_HAS_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif

namespace {

// A future of std::async joins its thread when it goes, so a program that ends before
// waiting (a demo site that does not start) still ends cleanly.
std::future<void>& WarmUp() {
  static std::future<void> warmUp;
  return warmUp;
}

}  // namespace

void StartFontWarmUp() {
#if NF_HAS_FONTCONFIG
  // fontconfig publishes its configuration atomically: Qt's own FcInit later finds it loaded.
  if (!WarmUp().valid()) WarmUp() = std::async(std::launch::async, [] { FcInit(); });
#endif
}

void WaitFontWarmUp() {
  if (WarmUp().valid()) WarmUp().wait();
}
