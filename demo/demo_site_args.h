#pragma once
// The command line of novelfetch-demo-site: a port and one switch per fault.

#include <string>
#include <string_view>
#include <vector>

#include "demo/demo_site_options.h"

struct DemoSiteArgs {
  int port = 8080;
  DemoSiteOptions options;
  bool help = false;
  std::string error;  // why the command line was refused; "" when it was read
};

// Reads the arguments after the program name; "--name value" and "--name=value" both work.
DemoSiteArgs ParseDemoSiteArgs(const std::vector<std::string_view>& args);

// The usage text, one line per switch.
std::string DemoSiteUsage();
