#include "app/command_line.h"

#include <CLI/CLI.hpp>
#include <array>
#include <filesystem>
#include <sstream>
#include <system_error>

#include "sys/paths.h"
#include "text/code_page.h"

namespace {

// What CLI11 fills in, still in the terminal's encoding.
struct RawOptions {
  std::string site;
  std::string fileHost;
  std::string startPage;
  std::string caFile;
  std::string config;
  bool demo = false;
  int attempts = kDefaultSearchAttempts;
  std::array<std::string, 2> words;  // the command's arguments; one command runs at a time
  std::string dir;
  int pick = 1;
  int mode = 1;
  bool json = false;
};

struct Options {
  CLI::Option* site;
  CLI::Option* fileHost;
  CLI::Option* startPage;
  CLI::Option* caFile;
  CLI::Option* config;
  std::vector<CLI::Option*> dir;  // one per command that takes it
};

struct CommandSpec {
  const char* name;
  Command command;
  const char* description;
  std::vector<std::pair<const char*, const char*>> arguments;  // name, description
};

const std::vector<CommandSpec>& CommandSpecs() {
  static const std::vector<CommandSpec> specs = {
      {"search",
       Command::kSearch,
       "Search the site; print one line per result: its six cells, TAB-separated, in match "
       "order",
       {{"KEYWORD", "What to search for"}}},
      {"address",
       Command::kAddress,
       "Print the download address computed from a book's name and date (mode 2)",
       {{"NAME", "The book's name"}, {"DATE", "The book's date, year-month-day"}}},
      {"resolve",
       Command::kResolve,
       "Print the download address the site's pages give for a book (mode 1)",
       {{"PAGE_ADDRESS", "The book page's address, as the search prints it"},
        {"NAME", "The book's name"}}},
      {"download",
       Command::kDownload,
       "Save what ADDRESS serves as DIR + NAME + \".txt\"; print the path written",
       {{"ADDRESS", "The download address"}, {"NAME", "The book's name"}}},
      {"get",
       Command::kGet,
       "Search, take result N, work out its download address, download and save it; print the "
       "path written",
       {{"KEYWORD", "What to search for"}}},
  };
  return specs;
}

// Paths are texts in code page 936: a name it cannot hold would become another path.
const CLI::Validator kCodePagePath(
    [](std::string& value) -> std::string {
      if (GbkToUtf8(Utf8ToGbk(value)) == value) return "";
      return "the path holds characters that code page 936 cannot hold: " + value;
    },
    "");

Options AddCommonOptions(CLI::App& app, RawOptions& raw) {
  Options options;
  options.site = app.add_option("--site", raw.site, "The novel site")->type_name("HOST[:PORT]");
  options.fileHost = app.add_option("--file-host", raw.fileHost, "The site's file server")
                         ->type_name("HOST[:PORT]");
  options.startPage =
      app.add_option("--start-page", raw.startPage, "Page opened at start (\"\" opens none)")
          ->type_name("ADDRESS");
  options.caFile =
      app.add_option("--ca-file", raw.caFile, "PEM certificates to trust instead of the system's")
          ->type_name("FILE")
          ->check(kCodePagePath);
  options.config =
      app.add_option("--config", raw.config,
                     "Configuration file instead of novelfetch.ini in the settings folder")
          ->type_name("FILE")
          ->check(kCodePagePath);
  app.add_option("--attempts", raw.attempts,
                 "Search posts before giving up, one a second at most (default 30)")
      ->type_name("N")
      ->check(CLI::Range(1, 1'000'000).description(""));
  app.add_flag("--demo", raw.demo, "Serve both hosts from the built-in demo site");
  return options;
}

CLI::Option* AddDirOption(CLI::App& command, RawOptions& raw) {
  return command
      .add_option("--dir", raw.dir,
                  "Save folder (default: the saved one of \"To configure.ini\", else the current "
                  "folder)")
      ->type_name("DIR")
      ->check(kCodePagePath);
}

void AddCommandOptions(CLI::App& command, Command kind, RawOptions& raw, Options& options) {
  if (kind == Command::kSearch) {
    command.add_flag("--json", raw.json, "Print one JSON array of rows, each of six cells");
  }
  if (kind == Command::kDownload || kind == Command::kGet) {
    options.dir.push_back(AddDirOption(command, raw));
  }
  if (kind == Command::kGet) {
    command.add_option("--pick", raw.pick, "Which result, from 1 (default 1)")
        ->type_name("N")
        ->check(CLI::Range(1, 1'000'000).description(""));
    command
        .add_option("--mode", raw.mode,
                    "1: the address the site's pages give (default); 2: the computed one")
        ->type_name("1|2")
        ->check(CLI::IsMember({1, 2}).description(""));
  }
}

std::vector<std::pair<CLI::App*, const CommandSpec*>> AddCommands(CLI::App& app, RawOptions& raw,
                                                                  Options& options) {
  std::vector<std::pair<CLI::App*, const CommandSpec*>> commands;
  for (const CommandSpec& entry : CommandSpecs()) {
    CLI::App* command = app.add_subcommand(entry.name, entry.description);
    command->footer("The common options (novelfetch --help) may stand here too.");
    for (size_t i = 0; i < entry.arguments.size(); ++i) {
      command->add_option(entry.arguments[i].first, raw.words[i], entry.arguments[i].second)
          ->type_name("")
          ->required();
    }
    AddCommandOptions(*command, entry.command, raw, options);
    commands.emplace_back(command, &entry);
  }
  app.require_subcommand(0, 1);
  return commands;
}

std::optional<std::string> Given(const CLI::Option* option, const std::string& value) {
  if (option->count() == 0) return std::nullopt;
  return Utf8ToGbk(value);
}

bool AnyGiven(const std::vector<CLI::Option*>& options) {
  for (const CLI::Option* option : options) {
    if (option->count() > 0) return true;
  }
  return false;
}

void TakeCommand(const std::vector<std::pair<CLI::App*, const CommandSpec*>>& commands,
                 const RawOptions& raw, const Options& options, CommandLine& commandLine) {
  for (const auto& [command, entry] : commands) {
    if (!command->parsed()) continue;
    commandLine.command = entry->command;
    for (size_t i = 0; i < entry->arguments.size(); ++i) {
      commandLine.arguments.push_back(Utf8ToGbk(raw.words[i]));
    }
  }
  if (AnyGiven(options.dir)) commandLine.saveDirectory = Utf8ToGbk(raw.dir);
  commandLine.pick = raw.pick;
  commandLine.mode = raw.mode;
  commandLine.json = raw.json;
}

}  // namespace

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
  CLI::App app("Search a web-novel site and save its books. Without a command the window starts.",
               "novelfetch");
  app.fallthrough();
  app.set_version_flag("--version", "novelfetch " NOVELFETCH_VERSION, "Print the version");
  app.footer(
      "Arguments and output are UTF-8. Exit status: 0 done, 1 the job failed (stderr says why), "
      "2 wrong arguments.");
  RawOptions raw;
  Options options = AddCommonOptions(app, raw);
  const auto commands = AddCommands(app, raw, options);

  ParsedCommandLine parsed;
  // CLI11 takes the arguments last first.
  std::vector<std::string> reversed(arguments.rbegin(), arguments.rend());
  try {
    app.parse(reversed);
  } catch (const CLI::ParseError& error) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = app.exit(error, out, err);
    parsed.exitStatus = status == 0 ? kExitSuccess : kExitUsage;
    parsed.output = out.str() + err.str();
    parsed.outputIsError = status != 0;
    return parsed;
  }
  CommandLine commandLine;
  commandLine.overrides = {Given(options.site, raw.site), Given(options.fileHost, raw.fileHost),
                           Given(options.startPage, raw.startPage),
                           Given(options.caFile, raw.caFile)};
  commandLine.configFile = Given(options.config, raw.config);
  commandLine.demo = raw.demo;
  commandLine.attempts = raw.attempts;
  TakeCommand(commands, raw, options, commandLine);
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
