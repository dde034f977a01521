#pragma once
// Where the tool finds the novel site: the two hosts, the page opened at start and the CA
// certificates to trust. Read from novelfetch.ini in the settings folder (section "Site"), or the
// file named by --config; every value given on the command line wins over the file. The
// windows get it as one struct from the start-up.

#include <optional>
#include <string>
#include <string_view>

// Placeholders until a site is configured: reserved example names, so nothing real is asked.
inline constexpr std::string_view kDefaultNovelHost = "novel.example.com";
inline constexpr std::string_view kDefaultFileHost = "files.example.com";

inline constexpr std::string_view kSiteConfigFileName = "novelfetch.ini";
inline constexpr std::string_view kSiteSection = "Site";

// Every text is code page 936.
struct SiteConfig {
  std::string novelHost{kDefaultNovelHost};  // host[:port] of the search form and book pages
  std::string fileHost{kDefaultFileHost};    // host[:port] of the computed download addresses
  std::string startPage;                     // opened in the browser at start; "" opens none
  std::string caFile;                        // PEM certificates instead of the system's; "" none
};

// Values given on the command line; an omitted one leaves the file's value.
struct SiteOverrides {
  std::optional<std::string> novelHost;
  std::optional<std::string> fileHost;
  std::optional<std::string> startPage;
  std::optional<std::string> caFile;
};

// The configuration file in the settings folder (beside the program for a portable build).
std::string DefaultSiteConfigFile();

// The defaults, then the values of `fileText`'s Site section (a missing file or key keeps the
// default; a key present with an empty value gives ""), then `overrides`.
SiteConfig LoadSiteConfig(std::string_view fileText, const SiteOverrides& overrides = {});

// Hands the CA file to the web layer (its other settings stay as they are); a relative path
// counts from the working directory at the time of the call.
void ApplySiteConfig(const SiteConfig& site);
