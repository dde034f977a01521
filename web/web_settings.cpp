#include "web/web_settings.h"

#include <curl/curl.h>
#include <mutex>

namespace {

std::mutex& SettingsMutex() {
  static std::mutex mutex;
  return mutex;
}

WebSettings& StoredSettings() {
  static WebSettings settings;
  return settings;
}

}  // namespace

void SetWebSettings(const WebSettings& settings) {
  const std::lock_guard lock(SettingsMutex());
  StoredSettings() = settings;
}

WebSettings CurrentWebSettings() {
  const std::lock_guard lock(SettingsMutex());
  return StoredSettings();
}

void WebGlobalInit() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}
