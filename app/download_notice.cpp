#include "app/download_notice.h"

#include "sys/timed_notice.h"

void ShowDownloadNotice(std::string_view message, std::optional<WindowHandle> owner) {
  NoticeOptions options;
  options.owner = std::move(owner);
  options.timeoutMs = kDownloadNoticeMs;
  ShowTimedNotice(message, options);
}
