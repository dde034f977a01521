#include "app/site_config.h"

#include <filesystem>
#include <system_error>

#include "sys/ini_file.h"
#include "sys/paths.h"
#include "web/web_settings.h"

namespace {

void ReadValue(std::string_view fileText, std::string_view key, std::string& value) {
  value = ReadIniValue(fileText, kSiteSection, key, value);
}

void Override(const std::optional<std::string>& given, std::string& value) {
  if (given) value = *given;
}

}  // namespace

std::string DefaultSiteConfigFile() {
  return SettingsDirectory() + std::string(kPathSeparator) + std::string(kSiteConfigFileName);
}

SiteConfig LoadSiteConfig(std::string_view fileText, const SiteOverrides& overrides) {
  SiteConfig site;
  ReadValue(fileText, "NovelHost", site.novelHost);
  ReadValue(fileText, "FileHost", site.fileHost);
  ReadValue(fileText, "StartPage", site.startPage);
  ReadValue(fileText, "CaFile", site.caFile);
  Override(overrides.novelHost, site.novelHost);
  Override(overrides.fileHost, site.fileHost);
  Override(overrides.startPage, site.startPage);
  Override(overrides.caFile, site.caFile);
  return site;
}

void ApplySiteConfig(const SiteConfig& site) {
  WebSettings settings = CurrentWebSettings();
  // Made absolute now: the start-up changes the working directory afterwards.
  std::error_code error;
  const std::filesystem::path caFile =
      site.caFile.empty() ? std::filesystem::path()
                          : std::filesystem::absolute(NativePath(site.caFile), error);
  settings.caFile = caFile.string();
  SetWebSettings(settings);
}
