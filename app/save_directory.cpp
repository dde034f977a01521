#include "app/save_directory.h"

#include "sys/ini_file.h"
#include "sys/paths.h"

namespace {

std::string& FileForTests() {
  static std::string file;
  return file;
}

}  // namespace

std::string SaveDirectorySettingsFile() {
  if (!FileForTests().empty()) return FileForTests();
  return SettingsDirectory() + std::string(kPathSeparator) + std::string(kSaveDirectoryFileName);
}

std::string StoredSaveDirectory() {
  return ReadIniValue(SaveDirectorySettingsFile(), kSaveDirectorySection, kSaveDirectoryKey,
                      SpecialFolder(kFolderDesktop));
}

bool StoreSaveDirectory(std::string_view directory, std::string* failure) {
  return WriteIniValue(SaveDirectorySettingsFile(), kSaveDirectorySection, kSaveDirectoryKey,
                       directory, failure);
}

void SetSaveDirectorySettingsFile(std::string file) { FileForTests() = std::move(file); }
