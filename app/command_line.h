#pragma once
// The command line of novelfetch. Options name the site and its configuration; they come
// before or after a command. Without a command the windows start.

#include <optional>
#include <string>
#include <vector>

#include "app/site_config.h"

struct CommandLine {
  SiteOverrides overrides;                // --site, --file-host, --start-page, --ca-file
  std::optional<std::string> configFile;  // --config FILE instead of the file beside the program
  bool demo = false;                      // --demo: the built-in demo site serves both hosts
};

// Outcome of parsing: either a command line to run, or an exit status and the text to print
// (help, or what was wrong) before ending.
struct ParsedCommandLine {
  std::optional<CommandLine> commandLine;
  int exitStatus = 0;
  std::string output;  // UTF-8, for the terminal
  bool outputIsError = false;
};

// Parses the arguments after the program name. They arrive in the terminal's encoding
// (UTF-8); the texts in the result are code page 936.
ParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments);

// The site configuration the command line asks for: the configuration file it names (or the
// one beside the program), then its overrides. Nothing when a named file cannot be read;
// `error` (UTF-8) then says so.
std::optional<SiteConfig> SiteConfigFor(const CommandLine& commandLine, std::string* error);
