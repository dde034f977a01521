// novelfetch-demo-site: the demo novel site as a program of its own, for trying the tool by
// hand, for curl, and for benchmarks that want a server in another process.
#include <atomic>
#include <chrono>
#include <csignal>
#include <iostream>
#include <thread>

#include "demo/demo_site.h"
#include "demo/demo_site_args.h"

namespace {

volatile std::sig_atomic_t g_interrupted = 0;

void OnSignal(int) { g_interrupted = 1; }

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  const DemoSiteArgs parsed = ParseDemoSiteArgs(args);
  if (parsed.help) {
    std::cout << DemoSiteUsage();
    return 0;
  }
  if (!parsed.error.empty()) {
    std::cerr << "novelfetch-demo-site: " << parsed.error << "\n" << DemoSiteUsage();
    return 2;
  }
  DemoSite site(parsed.options);
  if (!site.Start(parsed.port)) {
    std::cerr << "novelfetch-demo-site: cannot listen on 127.0.0.1:" << parsed.port << "\n";
    return 1;
  }
  std::signal(SIGINT, OnSignal);
  std::signal(SIGTERM, OnSignal);
  std::cout << site.Url("/") << std::endl;
  std::cerr << "novelfetch-demo-site: serving " << site.Catalogue().size()
            << " books; Ctrl+C stops it\n";
  while (!g_interrupted) std::this_thread::sleep_for(std::chrono::milliseconds(100));
  site.Stop();
  return 0;
}
