#include "demo/demo_site_args.h"

#include <algorithm>
#include <charconv>
#include <functional>
#include <optional>

namespace {

// A whole decimal number in [low, high], nothing else.
std::optional<long long> ReadNumber(std::string_view text, long long low, long long high) {
  long long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < low || value > high) {
    return std::nullopt;
  }
  return value;
}

using Apply = std::function<bool(DemoSiteArgs&, std::string_view)>;

struct Switch {
  std::string_view name;
  std::string_view value;  // what the switch takes, "" for none
  std::string_view help;
  Apply apply;
};

// A switch that takes a number in [low, high].
Apply Number(long long low, long long high, std::function<void(DemoSiteArgs&, long long)> set) {
  return [=](DemoSiteArgs& args, std::string_view text) {
    const auto value = ReadNumber(text, low, high);
    if (value) set(args, *value);
    return value.has_value();
  };
}

Apply Flag(bool DemoSiteOptions::*field) {
  return [=](DemoSiteArgs& args, std::string_view) { return args.options.*field = true; };
}

Apply Text(std::string DemoSiteOptions::*field) {
  return [=](DemoSiteArgs& args, std::string_view text) {
    args.options.*field = text;
    return !text.empty();
  };
}

const std::vector<Switch>& Switches() {
  using A = DemoSiteArgs;
  static const std::vector<Switch> switches = {
      {"--port", "N", "port on 127.0.0.1, 0 for any free port (default 8080)",
       Number(0, 65535, [](A& a, long long v) { a.port = static_cast<int>(v); })},
      {"--site-host", "HOST", "host[:port] printed in the book page addresses",
       Text(&DemoSiteOptions::siteHost)},
      {"--file-host", "HOST", "host[:port] of the download links",
       Text(&DemoSiteOptions::fileHost)},
      {"--large-book-mb", "N", "size of the generated book in MiB, 1 to 2048 (default 20)",
       Number(1, 2048,
              [](A& a, long long v) {
                a.options.largeBookBytes = static_cast<std::uint64_t>(v) * 1024 * 1024;
              })},
      {"--empty-answers", "N", "answer the first N search posts with an empty body",
       Number(0, kMaxEmptyAnswers,
              [](A& a, long long v) { a.options.emptySearchAnswers = static_cast<int>(v); })},
      {"--delay-ms", "N", "answer search posts after N milliseconds (up to 120000)",
       Number(0, kMaxDelayMs, [](A& a, long long v) { a.options.delayMs = static_cast<int>(v); })},
      {"--delay-all", "", "the delay applies to every request",
       Flag(&DemoSiteOptions::delayEveryRequest)},
      {"--refuse", "", "refuse every connection", Flag(&DemoSiteOptions::refuseConnections)},
      {"--drop-mid-body", "", "close download connections halfway through the body",
       Flag(&DemoSiteOptions::dropMidBody)},
      {"--download-status", "N", "answer every download with status N: 404 or 500",
       [](A& a, std::string_view text) {
         const auto value = ReadNumber(text, 404, 500);
         if (value != 404 && value != 500) return false;
         a.options.downloadStatus = static_cast<int>(*value);
         return true;
       }},
      {"--redirect-loop", "", "redirect every request back to itself",
       Flag(&DemoSiteOptions::redirectLoop)},
      {"--huge-headers", "", "send more than 1 MiB of response headers",
       Flag(&DemoSiteOptions::hugeHeaders)},
      {"--invalid-utf8", "", "put bytes that are not UTF-8 into the search page",
       Flag(&DemoSiteOptions::invalidUtf8)},
      {"--results", "K", "every search page holds K results, up to 100000",
       Number(0, kMaxSearchResults,
              [](A& a, long long v) { a.options.searchResultCount = static_cast<int>(v); })},
      {"--hostile-names", "", "add books whose names are hostile paths",
       Flag(&DemoSiteOptions::hostileNames)},
      {"--rate", "N", "send downloads at N bytes per second",
       Number(1, 1'000'000'000,
              [](A& a, long long v) { a.options.downloadBytesPerSecond = static_cast<int>(v); })},
  };
  return switches;
}

const Switch* FindSwitch(std::string_view name) {
  for (const Switch& s : Switches()) {
    if (s.name == name) return &s;
  }
  return nullptr;
}

}  // namespace

DemoSiteArgs ParseDemoSiteArgs(const std::vector<std::string_view>& args) {
  DemoSiteArgs parsed;
  for (size_t i = 0; i < args.size() && parsed.error.empty(); ++i) {
    std::string_view name = args[i];
    std::optional<std::string_view> value;
    if (const size_t equals = name.find('='); equals != name.npos) {
      value = name.substr(equals + 1);
      name = name.substr(0, equals);
    }
    const Switch* s = FindSwitch(name);
    if (name == "--help" || name == "-h") {
      parsed.help = true;
    } else if (!s) {
      parsed.error = "unknown option " + std::string(name);
    } else if (s->value.empty()) {
      if (value) {
        parsed.error = std::string(name) + " takes no value";
      } else {
        s->apply(parsed, {});
      }
    } else if (!value && i + 1 >= args.size()) {
      parsed.error = std::string(name) + " needs a value";
    } else {
      const std::string_view text = value ? *value : args[++i];
      if (!s->apply(parsed, text)) {
        parsed.error = "bad value for " + std::string(name) + ": " + std::string(text);
      }
    }
  }
  return parsed;
}

std::string DemoSiteUsage() {
  std::string usage =
      "usage: novelfetch-demo-site [--port N] [switches]\n"
      "Serves the demo novel site on 127.0.0.1 and prints its address; Ctrl+C stops it.\n";
  for (const Switch& s : Switches()) {
    std::string head = std::string(s.name) + (s.value.empty() ? "" : " " + std::string(s.value));
    head.resize(std::max<size_t>(head.size() + 1, 22), ' ');
    usage += "  " + head + std::string(s.help) + "\n";
  }
  return usage;
}
