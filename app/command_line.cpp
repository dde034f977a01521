#include "app/command_line.h"

#include <CLI/CLI.hpp>
#include <filesystem>
#include <sstream>
#include <system_error>

#include "sys/paths.h"
#include "text/code_page.h"

namespace {

// Options shared by every command; kept on the top level and let through from commands.
struct RawOptions {
  std::string site;
  std::string fileHost;
  std::string startPage;
  std::string caFile;
  std::string config;
  bool demo = false;
};

struct Options {
  CLI::Option* site;
  CLI::Option* fileHost;
  CLI::Option* startPage;
  CLI::Option* caFile;
  CLI::Option* config;
};

Options AddSiteOptions(CLI::App& app, RawOptions& raw) {
  Options options;
  options.site = app.add_option("--site", raw.site, "Host[:port] of the novel site");
  options.fileHost =
      app.add_option("--file-host", raw.fileHost, "Host[:port] of the site's file server");
  options.startPage =
      app.add_option("--start-page", raw.startPage, "Page opened at start (\"\" opens none)");
  options.caFile =
      app.add_option("--ca-file", raw.caFile, "PEM certificates to trust instead of the system's");
  options.config = app.add_option(
      "--config", raw.config, "Configuration file instead of novelfetch.ini beside the program");
  app.add_flag("--demo", raw.demo, "Serve both hosts from the built-in demo site");
  return options;
}

std::optional<std::string> Given(const CLI::Option* option, const std::string& value) {
  if (option->count() == 0) return std::nullopt;
  return Utf8ToGbk(value);
}

}  // namespace

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
  CLI::App app("Search a web-novel site and save its books.", "novelfetch");
  app.fallthrough();
  RawOptions raw;
  const Options options = AddSiteOptions(app, raw);

  ParsedCommandLine parsed;
  std::vector<std::string> reversed(arguments.rbegin(), arguments.rend());
  try {
    app.parse(reversed);
  } catch (const CLI::ParseError& error) {
    std::ostringstream out;
    std::ostringstream err;
    parsed.exitStatus = app.exit(error, out, err);
    parsed.output = out.str() + err.str();
    parsed.outputIsError = parsed.exitStatus != 0;
    return parsed;
  }
  CommandLine commandLine;
  commandLine.overrides = {Given(options.site, raw.site), Given(options.fileHost, raw.fileHost),
                           Given(options.startPage, raw.startPage),
                           Given(options.caFile, raw.caFile)};
  commandLine.configFile = Given(options.config, raw.config);
  commandLine.demo = raw.demo;
  parsed.commandLine = commandLine;
  return parsed;
}

std::optional<SiteConfig> SiteConfigFor(const CommandLine& commandLine, std::string* error) {
  if (!commandLine.configFile)
    return LoadSiteConfig(DefaultSiteConfigFile(), commandLine.overrides);
  const std::filesystem::path file = NativePath(*commandLine.configFile);
  std::error_code failure;
  if (!std::filesystem::is_regular_file(file, failure)) {
    if (error) *error = "cannot read the configuration file " + file.string();
    return std::nullopt;
  }
  return LoadSiteConfig(*commandLine.configFile, commandLine.overrides);
}
