#include "demo/demo_site_args.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

DemoSiteArgs Parse(const std::vector<std::string_view>& args) { return ParseDemoSiteArgs(args); }

TEST(DemoSiteArgs, DefaultsServeTheCleanSiteOnPort8080) {
  const DemoSiteArgs args = Parse({});
  EXPECT_EQ(args.port, 8080);
  EXPECT_EQ(args.error, "");
  EXPECT_FALSE(args.help);
  EXPECT_EQ(args.options.delayMs, 0);
  EXPECT_EQ(args.options.searchResultCount, -1);
}

TEST(DemoSiteArgs, EverySwitchSetsItsOption) {
  const DemoSiteArgs args = Parse({"--port",
                                   "0",
                                   "--site-host=books.example",
                                   "--file-host",
                                   "files.example:81",
                                   "--large-book-mb",
                                   "3",
                                   "--empty-answers=2",
                                   "--delay-ms",
                                   "300",
                                   "--delay-all",
                                   "--refuse",
                                   "--drop-mid-body",
                                   "--download-status",
                                   "500",
                                   "--redirect-loop",
                                   "--huge-headers",
                                   "--invalid-utf8",
                                   "--results",
                                   "100000",
                                   "--hostile-names",
                                   "--rate=64"});
  ASSERT_EQ(args.error, "");
  const DemoSiteOptions& o = args.options;
  EXPECT_EQ(args.port, 0);
  EXPECT_EQ(o.siteHost, "books.example");
  EXPECT_EQ(o.fileHost, "files.example:81");
  EXPECT_EQ(o.largeBookBytes, 3u * 1024 * 1024);
  EXPECT_EQ(o.emptySearchAnswers, 2);
  EXPECT_EQ(o.delayMs, 300);
  EXPECT_TRUE(o.delayEveryRequest && o.refuseConnections && o.dropMidBody && o.redirectLoop &&
              o.hugeHeaders && o.invalidUtf8 && o.hostileNames);
  EXPECT_EQ(o.downloadStatus, 500);
  EXPECT_EQ(o.searchResultCount, 100000);
  EXPECT_EQ(o.downloadBytesPerSecond, 64);
}

TEST(DemoSiteArgs, RefusesWhatItCannotRead) {
  for (const std::vector<std::string_view>& line : std::vector<std::vector<std::string_view>>{
           {"--port"},
           {"--port", "65536"},
           {"--port", "80x"},
           {"--port=-1"},
           {"--download-status", "403"},
           {"--results", "100001"},
           {"--large-book-mb", "0"},
           {"--refuse=yes"},
           {"--file-host="},
           {"--colour"},
           {"8080"},
       }) {
    EXPECT_NE(Parse(line).error, "") << line[0];
  }
}

TEST(DemoSiteArgs, HelpListsEverySwitch) {
  EXPECT_TRUE(Parse({"--help"}).help);
  EXPECT_TRUE(Parse({"-h"}).help);
  const std::string usage = DemoSiteUsage();
  for (const char* name :
       {"--port", "--empty-answers", "--delay-ms", "--delay-all", "--refuse", "--drop-mid-body",
        "--download-status", "--redirect-loop", "--huge-headers", "--invalid-utf8", "--results",
        "--hostile-names", "--rate", "--large-book-mb", "--file-host", "--site-host"}) {
    EXPECT_NE(usage.find(name), std::string::npos) << name;
  }
}

}  // namespace
