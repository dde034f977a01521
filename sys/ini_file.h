#pragma once
// INI values read and written the way the platform's profile-string functions do it, with
// values kept as the bytes they are (no encoding is assumed or changed).

#include <string>
#include <string_view>

// Longest value handed back, in bytes (the platform's 10,240-character buffer less its zero).
inline constexpr size_t kIniValueLimit = 10'239;

// The value of `key` in `section` of the INI file at `fileText` (a code page 936 path).
// Section and key match without regard to ASCII letter case; the first match counts. The
// value is trimmed of spaces and tabs and cut to kIniValueLimit bytes (never inside a
// double-byte character). `defaultValue` when the file, section or key is missing; a key that
// is present with an empty value gives "".
std::string ReadIniValue(std::string_view fileText, std::string_view section, std::string_view key,
                         std::string_view defaultValue);

// Stores `value` under `key` in `section`, creating the file, the section or the key as
// needed. Every other line of the file stays byte for byte; the file is replaced atomically.
// False when the file cannot be written or when a name or the value holds a line break
// (which would break the file apart); `failure`, when given, then says why.
bool WriteIniValue(std::string_view fileText, std::string_view section, std::string_view key,
                   std::string_view value, std::string* failure = nullptr);
