#pragma once
// Folders and file-system paths as texts. A path text is code page 936; it becomes a native
// path (UTF-8 bytes on Linux, UTF-16 on Windows) only through NativePath, and back only
// through PathText.

#include <filesystem>
#include <string>
#include <string_view>

#ifdef _WIN32
inline constexpr std::string_view kPathSeparator = "\\";
#else
inline constexpr std::string_view kPathSeparator = "/";
#endif

// The special folders the program asks for, by the platform's CSIDL numbers.
inline constexpr int kFolderDesktop = 3;
inline constexpr int kFolderTemporary = 11;

// The native path of a path text.
std::filesystem::path NativePath(std::string_view pathText);

// A native path as a path text; characters code page 936 lacks become "?".
std::string PathText(const std::filesystem::path& path);

// The folder that holds the program file, without a trailing separator; "" if unknown.
std::string ProgramDirectory();

// Where "To configure.ini" and "novelfetch.ini" live: the program folder when the program may
// write there (a portable build), else the user's configuration folder
// ($XDG_CONFIG_HOME/novelfetch, or ~/.config/novelfetch), created when missing. No trailing
// separator.
std::string SettingsDirectory();

// The desktop (kFolderDesktop) or temporary-files (kFolderTemporary) folder, ending with
// kPathSeparator; "" for any other number.
std::string SpecialFolder(int folder);
