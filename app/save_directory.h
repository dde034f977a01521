#pragma once
// The save directory kept across runs: "To configure.ini" in the settings folder, section
// "Catalog", key "Catalog", the value stored as the bytes it is (code page 936).

#include <string>
#include <string_view>

inline constexpr std::string_view kSaveDirectoryFileName = "To configure.ini";
inline constexpr std::string_view kSaveDirectorySection = "Catalog";
inline constexpr std::string_view kSaveDirectoryKey = "Catalog";

// SettingsDirectory() + separator + "To configure.ini", unless a test has named another file.
std::string SaveDirectorySettingsFile();

// The stored directory; the desktop folder (ending with a separator) when the file or the key
// is missing. A key present with an empty value gives "".
std::string StoredSaveDirectory();

// Stores `directory`; false when the file cannot be written, with the reason in `failure`.
bool StoreSaveDirectory(std::string_view directory, std::string* failure = nullptr);

// For tests: keeps the setting in `file` instead ("" goes back to the settings folder).
void SetSaveDirectorySettingsFile(std::string file);
