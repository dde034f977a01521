// novelfetch: search a web-novel site by keyword and save its books.
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include <QApplication>

#include "app/command_line.h"
#include "app/demo_mode.h"
#include "app/program_main.h"
#include "app/site_config.h"
#include "demo/demo_site.h"

int main(int argc, char** argv) {
  const ParsedCommandLine parsed =
      ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  if (!parsed.commandLine) {
    std::fputs(parsed.output.c_str(), parsed.outputIsError ? stderr : stdout);
    return parsed.exitStatus;
  }
  const CommandLine& commandLine = *parsed.commandLine;
  std::string error;
  std::optional<SiteConfig> site = SiteConfigFor(commandLine, &error);
  if (!site) {
    std::fprintf(stderr, "novelfetch: %s\n", error.c_str());
    return 2;
  }

  QApplication app(argc, argv);
  DemoSite demo;
  if (commandLine.demo && !UseDemoSite(demo, *site)) {
    std::fputs("novelfetch: the demo site could not start\n", stderr);
    return 1;
  }
  return RunProgram(*site);
}
