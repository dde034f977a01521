#pragma once
// The command line of novelfetch. Without a command the windows start; a command (search,
// address, resolve, download, get) does the same job on the terminal. The common options
// name the site and its configuration and may stand before or after the command and its
// arguments.

#include <optional>
#include <string>
#include <vector>

#include "app/site_config.h"

enum class Command { kWindows, kSearch, kAddress, kResolve, kDownload, kGet };

// Exit statuses: done; the job failed (one line on stderr says why); the arguments were wrong.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitJobFailed = 1;
inline constexpr int kExitUsage = 2;

inline constexpr int kDefaultSearchAttempts = 30;

// Every text is code page 936.
struct CommandLine {
  SiteOverrides overrides;                // --site, --file-host, --start-page, --ca-file
  std::optional<std::string> configFile;  // --config FILE instead of the file beside the program
  bool demo = false;                      // --demo: the built-in demo site serves both hosts
  int attempts = kDefaultSearchAttempts;  // --attempts: search posts before giving up

  Command command = Command::kWindows;
  // The command's arguments in the order of its usage line: search and get KEYWORD;
  // address NAME DATE; resolve PAGE_ADDRESS NAME; download ADDRESS NAME.
  std::vector<std::string> arguments;
  std::optional<std::string> saveDirectory;  // --dir (download, get)
  int pick = 1;                              // --pick: 1-based result number (get)
  int mode = 1;                              // --mode: 1 read the site's pages, 2 compute (get)
  bool json = false;                         // --json: one JSON array of rows (search)
};

// Outcome of parsing: either a command line to run, or an exit status and the text to print
// (help, the version, or what was wrong and a line pointing to --help) before ending.
struct ParsedCommandLine {
  std::optional<CommandLine> commandLine;
  int exitStatus = kExitSuccess;
  std::string output;  // UTF-8, for the terminal
  bool outputIsError = false;
};

// Parses the arguments after the program name. They arrive in the terminal's encoding
// (UTF-8); the texts in the result are code page 936. A path option whose name code page 936
// cannot hold is a usage error rather than a different path.
ParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments);

// The site configuration the command line asks for: the configuration file it names (or the
// one beside the program), then its overrides. Nothing when a named file cannot be read;
// `error` (UTF-8) then says so.
std::optional<SiteConfig> SiteConfigFor(const CommandLine& commandLine, std::string* error);
