#include "sys/paths.h"

#include <cstdlib>
#include <system_error>

#ifndef _WIN32
#include <unistd.h>
#endif

#include <QDir>
#include <QStandardPaths>

#include "sys/qt_text.h"
#include "text/code_page.h"

#ifdef _WIN32
#include <windows.h>
#endif

std::filesystem::path NativePath(std::string_view pathText) {
#ifdef _WIN32
  const std::u16string wide = TextToWide(pathText, kCodePageGbk);
  return std::filesystem::path(std::u16string_view(wide.data(), wide.find(u'\0')));
#else
  return std::filesystem::path(GbkToUtf8(pathText));
#endif
}

std::string PathText(const std::filesystem::path& path) {
#ifdef _WIN32
  return WideToText(path.u16string(), kCodePageGbk);
#else
  return Utf8ToGbk(path.native());
#endif
}

std::string ProgramDirectory() {
  std::filesystem::path program;
#ifdef _WIN32
  std::wstring buffer(32768, L'\0');
  const DWORD length =
      GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
  buffer.resize(length);
  program = buffer;
#else
  std::error_code error;
  program = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return "";
#endif
  return PathText(program.parent_path());
}

std::string SettingsDirectory() {
  const std::string program = ProgramDirectory();
#ifndef _WIN32
  // An installed package's folder is not the user's to write; settings then go where the
  // desktop keeps them.
  if (program.empty() || access(NativePath(program).c_str(), W_OK) != 0) {
    std::filesystem::path folder;
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config == '/') {
      folder = config;
    } else if (const char* home = std::getenv("HOME"); home && *home) {
      folder = std::filesystem::path(home) / ".config";
    } else {
      return program;
    }
    folder /= "novelfetch";
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    return PathText(folder);
  }
#endif
  return program;
}

std::string SpecialFolder(int folder) {
  QString path;
  if (folder == kFolderDesktop) {
    path = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
  } else if (folder == kFolderTemporary) {
    path = QDir::tempPath();
  } else {
    return "";
  }
  std::string text = FromQString(QDir::toNativeSeparators(path));
  if (text.empty() || text.substr(text.size() - 1) != kPathSeparator) text += kPathSeparator;
  return text;
}
