#pragma once
// The notices of the download side: 3000 ms, the default title and style.

#include <optional>
#include <string_view>

#include "sys/window_handle.h"

inline constexpr int kDownloadNoticeMs = 3000;

// Shows `message` for at most kDownloadNoticeMs, owned by `owner` when given, else by the
// first visible window of the program.
void ShowDownloadNotice(std::string_view message, std::optional<WindowHandle> owner = {});
