#pragma once
// A message box that closes itself after a while, so a hint or a refusal never waits long
// for the user.

#include <optional>
#include <string>
#include <string_view>

#include "sys/window_handle.h"

inline constexpr std::string_view kNoticeDefaultTitle = "友情提醒";
inline constexpr int kNoticeDefaultTimeoutMs = 5000;

// The platform's button identifiers and its time-out code, as the box reports them.
inline constexpr int kNoticeIdOk = 1;
inline constexpr int kNoticeIdCancel = 2;
inline constexpr int kNoticeIdTimeout = 32000;

// Each field is either supplied or omitted; only an omitted one takes its default, and a
// supplied 0, "" or null window is used as it is.
struct NoticeOptions {
  // The platform's style bits: buttons in the low four bits (0 OK, 1 OK/Cancel, 2 Abort/Retry/
  // Ignore, 3 Yes/No/Cancel, 4 Yes/No, 5 Retry/Cancel), icon in 0xF0 (0x10 stop, 0x20
  // question, 0x30 exclamation, 0x40 information), default button in 0xF00. Default 0.
  std::optional<int> style = std::nullopt;
  std::optional<std::string> title = std::nullopt;   // default kNoticeDefaultTitle
  std::optional<WindowHandle> owner = std::nullopt;  // default: FindProcessWindow(this process)
  std::optional<int> timeoutMs = std::nullopt;  // default kNoticeDefaultTimeoutMs; negative: never
};

// Shows `message` (code page 936) and blocks the window thread until the user closes the box
// or the time-out does; the box is modal to its owner (the owner is disabled meanwhile), or
// to the whole program when there is none. Returns the box's result minus 1: the button's
// identifier less one (0 for OK), or kNoticeIdTimeout - 1 (31999) after the time-out.
int ShowTimedNotice(std::string_view message, const NoticeOptions& options = {});
