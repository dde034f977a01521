// novelfetch: search a web-novel site by keyword and save its books, in a window or, given a
// command, on the terminal.
#include <cstdio>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

#include <QApplication>
#include <QCoreApplication>

#include "app/cli_commands.h"
#include "app/command_line.h"
#include "app/demo_mode.h"
#include "app/program_main.h"
#include "app/site_config.h"
#include "demo/demo_site.h"
#include "sys/font_warm_up.h"
#include "web/web_settings.h"

namespace {

// The windows need a display; a command runs without one, on a QCoreApplication.
template <typename Application, typename Run>
int RunWith(int argc, char** argv, const CommandLine& commandLine, SiteConfig site, Run run) {
  // A command needs libcurl at once. The windows show without it (ProgramMain sets it up once
  // MainWindow has painted) but not without their fonts, whose configuration a thread reads
  // meanwhile.
  if constexpr (std::is_same_v<Application, QApplication>) {
    StartFontWarmUp();
  } else {
    WebGlobalInit();
  }
  Application app(argc, argv);
  DemoSite demo;
  if (commandLine.demo && !UseDemoSite(demo, site)) {
    std::fputs("novelfetch: the demo site could not start\n", stderr);
    return kExitJobFailed;
  }
  return run(site);
}

}  // namespace

int main(int argc, char** argv) {
  const ParsedCommandLine parsed =
      ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  if (!parsed.commandLine) {
    std::fputs(parsed.output.c_str(), parsed.outputIsError ? stderr : stdout);
    return parsed.exitStatus;
  }
  const CommandLine& commandLine = *parsed.commandLine;
  std::string error;
  const std::optional<SiteConfig> site = SiteConfigFor(commandLine, &error);
  if (!site) {
    std::fprintf(stderr, "novelfetch: %s\n", error.c_str());
    return kExitUsage;
  }
  if (commandLine.command == Command::kWindows) {
    return RunWith<QApplication>(argc, argv, commandLine, *site, RunProgram);
  }
  return RunWith<QCoreApplication>(argc, argv, commandLine, *site,
                                   [&](const SiteConfig& s) { return RunCommand(commandLine, s); });
}
