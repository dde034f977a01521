#include "app/cli_commands.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "app/book_address.h"
#include "app/cli_output.h"
#include "app/globals.h"
#include "app/result_rows.h"
#include "app/save_book.h"
#include "app/save_directory.h"
#include "app/search_loop.h"
#include "sys/ini_file.h"
#include "sys/paths.h"
#include "sys/worker.h"
#include "text/regex_object.h"
#include "web/site_patterns.h"
#include "web/web_settings.h"

namespace {

// How long the end of a command waits for search workers it has asked to stop.
constexpr std::chrono::milliseconds kWorkerGrace{3000};

// What ResolveDownloadAddress gives when neither page led to a link.
constexpr std::string_view kNoResolvedAddress = "http://";

// A command's outcome, in UTF-8: what to print, or why it failed.
struct JobResult {
  std::string output;
  std::string failure;
};

JobResult Failed(std::string why) { return {"", std::move(why)}; }

// A download address (code page 936), or why there is none (UTF-8).
struct AddressResult {
  std::string address;
  std::string failure;
};

struct SearchResult {
  std::vector<ResultRow> rows;
  std::string failure;
};

std::string Quoted(std::string_view text) { return "\"" + TerminalText(text) + "\""; }

std::string Plural(int count, const char* word) {
  return std::to_string(count) + " " + word + (count == 1 ? "" : "s");
}

// The windows' search: paced attempts until a page arrives (or `attempts` of them), then the
// page cut into result rows.
SearchResult SearchRows(const SiteConfig& site, const std::string& keyword, int attempts) {
  SearchLoop search(g_searchPage, site.novelHost, attempts);
  SearchOutcome outcome = search.Run([&keyword] { return keyword; });
  SearchResult result;
  if (outcome.page.empty()) {
    result.failure = "no answer from " + TerminalText(site.novelHost) + " after " +
                     Plural(outcome.attempts, "attempt");
    return result;
  }
  RegexObject regex;
  result.rows = CutResultRows(regex, outcome.page);
  if (result.rows.empty()) result.failure = "no result for " + Quoted(keyword);
  return result;
}

AddressResult ComputeAddress(const SiteConfig& site, std::string_view name, std::string_view date) {
  RegexObject yearRegex;
  std::string address = ComputedAddress(yearRegex, site.fileHost, name, date);
  // The date's search stays in yearRegex: without a year the address would name no file.
  if (yearRegex.SubmatchText(1, 1).empty()) {
    return {"", "no year in the date " + Quoted(date) + " (year-month-day) of " + Quoted(name)};
  }
  return {std::move(address), ""};
}

AddressResult ReadAddress(const SiteConfig& site, std::string_view pageAddress,
                          std::string_view name) {
  std::string address = ResolveDownloadAddress(pageAddress, name, site.novelHost);
  if (address == kNoResolvedAddress) {
    return {"", "no download address for " + Quoted(name) + " on the pages from " +
                    Quoted(pageAddress)};
  }
  return {std::move(address), ""};
}

JobResult PrintAddress(const AddressResult& found) {
  if (!found.failure.empty()) return Failed(found.failure);
  return {TerminalText(found.address) + "\n", ""};
}

std::string SaveFailureText(const SavedBook& saved, std::string_view name) {
  const std::string detail = " (" + TerminalText(saved.notice) + ")";
  switch (saved.failure) {
    case SaveFailure::kUnusableName:
      return "the book's name " + Quoted(name) + " leaves no usable file name";
    case SaveFailure::kDownload:
      return "cannot download " + TerminalText(saved.address) + detail;
    case SaveFailure::kWrite:
      return "cannot write " + TerminalText(saved.path) + detail;
    case SaveFailure::kNone:
      break;
  }
  return {};
}

JobResult SaveBook(const CommandLine& commandLine, std::string_view address,
                   std::string_view name) {
  const std::string directory = commandLine.saveDirectory.value_or(DefaultSaveDirectory());
  const SavedBook saved = DownloadAndSaveBook(address, directory, name);
  if (!saved.Saved()) return Failed(SaveFailureText(saved, name));
  return {TerminalText(saved.path) + "\n", ""};
}

JobResult Search(const CommandLine& commandLine, const SiteConfig& site) {
  const SearchResult found = SearchRows(site, commandLine.arguments[0], commandLine.attempts);
  if (!found.failure.empty()) return Failed(found.failure);
  return {commandLine.json ? ResultJson(found.rows) : ResultLines(found.rows), ""};
}

JobResult Get(const CommandLine& commandLine, const SiteConfig& site) {
  const std::string& keyword = commandLine.arguments[0];
  const SearchResult found = SearchRows(site, keyword, commandLine.attempts);
  if (!found.failure.empty()) return Failed(found.failure);
  const size_t count = found.rows.size();
  if (static_cast<size_t>(commandLine.pick) > count) {
    return Failed("no result " + std::to_string(commandLine.pick) + ": the search for " +
                  Quoted(keyword) + " gave " + Plural(static_cast<int>(count), "result"));
  }
  const ResultRow& row = found.rows[static_cast<size_t>(commandLine.pick) - 1];
  const std::string& name = row[kColumnName];
  const AddressResult address = commandLine.mode == 2
                                    ? ComputeAddress(site, name, row[kColumnDate])
                                    : ReadAddress(site, row[kColumnPageAddress], name);
  if (!address.failure.empty()) return Failed(address.failure);
  return SaveBook(commandLine, address.address, name);
}

JobResult RunJob(const CommandLine& commandLine, const SiteConfig& site) {
  const std::vector<std::string>& arguments = commandLine.arguments;
  switch (commandLine.command) {
    case Command::kSearch:
      return Search(commandLine, site);
    case Command::kAddress:
      return PrintAddress(ComputeAddress(site, arguments[0], arguments[1]));
    case Command::kResolve:
      return PrintAddress(ReadAddress(site, arguments[0], arguments[1]));
    case Command::kDownload:
      return SaveBook(commandLine, arguments[0], arguments[1]);
    case Command::kGet:
      return Get(commandLine, site);
    case Command::kWindows:
      break;
  }
  return Failed("no command to run");
}

}  // namespace

int RunCommand(const CommandLine& commandLine, const SiteConfig& site) {
  WebGlobalInit();
  ApplySiteConfig(site);
  const JobResult result = RunJob(commandLine, site);
  StopAllWorkers(kWorkerGrace);
  if (!result.failure.empty()) {
    std::fprintf(stderr, "novelfetch: %s\n", OneLine(result.failure).c_str());
    return kExitJobFailed;
  }
  std::fwrite(result.output.data(), 1, result.output.size(), stdout);
  if (std::fflush(stdout) != 0) {
    std::fputs("novelfetch: cannot write the output\n", stderr);
    return kExitJobFailed;
  }
  return kExitSuccess;
}

std::string DefaultSaveDirectory() {
  // Not StoredSaveDirectory(): without a saved folder the terminal's default is the current
  // folder, not the desktop.
  const std::string saved =
      ReadIniValue(SaveDirectorySettingsFile(), kSaveDirectorySection, kSaveDirectoryKey, "");
  if (!saved.empty()) {
    // The windows run in the program's folder, so a relative folder is taken from there.
    if (NativePath(saved).is_relative()) {
      return ProgramDirectory() + std::string(kPathSeparator) + saved;
    }
    return saved;
  }
  std::error_code error;
  const std::filesystem::path current = std::filesystem::current_path(error) / "";
  const std::string text = PathText(current);
  // "" is the current folder too, and stays right when its name does not fit code page 936.
  if (error || NativePath(text) != current) return "";
  return text;
}
