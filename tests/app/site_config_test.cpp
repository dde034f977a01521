#include "app/site_config.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/demo_mode.h"
#include "demo/demo_site.h"
#include "tests/sys/test_folder.h"
#include "web/web_settings.h"

namespace {

struct FileCase {
  const char* name;
  std::string content;
  SiteConfig expected;
};

void PrintTo(const FileCase& c, std::ostream* out) { *out << c.name; }

class SiteConfigFile : public ::testing::TestWithParam<FileCase> {};

TEST_P(SiteConfigFile, ReadsTheSiteSection) {
  TestFolder folder;
  folder.Write("novelfetch.ini", GetParam().content);
  const SiteConfig site = LoadSiteConfig(folder.Text() + "novelfetch.ini");
  const SiteConfig& expected = GetParam().expected;
  EXPECT_EQ(site.novelHost, expected.novelHost);
  EXPECT_EQ(site.fileHost, expected.fileHost);
  EXPECT_EQ(site.startPage, expected.startPage);
  EXPECT_EQ(site.caFile, expected.caFile);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SiteConfigFile,
    ::testing::Values(FileCase{"no_file_or_section", "", SiteConfig{}},
                      FileCase{"every_value",
                               "[Site]\nNovelHost=www.novel.test\nFileHost=txt.novel.test:8080\n"
                               "StartPage=www.novel.test/\nCaFile=/etc/小说.pem\n",
                               SiteConfig{"www.novel.test", "txt.novel.test:8080",
                                          "www.novel.test/", "/etc/小说.pem"}},
                      FileCase{"some_values_keep_defaults", "[site]\nnovelhost = a.test \n",
                               SiteConfig{"a.test", std::string(kDefaultFileHost), "", ""}},
                      FileCase{"empty_values_are_used", "[Site]\nNovelHost=\nStartPage=\n",
                               SiteConfig{"", std::string(kDefaultFileHost), "", ""}},
                      FileCase{"other_sections_ignored", "[Other]\nNovelHost=x\n", SiteConfig{}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SiteConfigDefaults, OpenNoPageAndTrustTheSystem) {
  const SiteConfig site;
  EXPECT_EQ(site.novelHost, kDefaultNovelHost);
  EXPECT_EQ(site.fileHost, kDefaultFileHost);
  EXPECT_EQ(site.startPage, "");
  EXPECT_EQ(site.caFile, "");
}

ParsedCommandLine Parse(std::vector<std::string> arguments) { return ParseCommandLine(arguments); }

TEST(CommandLineOptions, OverrideEveryFileValue) {
  TestFolder folder;
  folder.Write("site.ini",
               "[Site]\nNovelHost=file.test\nFileHost=files.test\nStartPage=page.test\n"
               "CaFile=file.pem\n");
  const ParsedCommandLine parsed =
      Parse({"--config", folder.Text() + "site.ini", "--site", "cli.test:81", "--file-host",
             "cli-files.test", "--start-page", "", "--ca-file",
             "/certs/\xE5\xB0\x8F\xE8\xAF\xB4.pem"});  // UTF-8 from the terminal
  ASSERT_TRUE(parsed.commandLine);
  std::string error;
  const std::optional<SiteConfig> site = SiteConfigFor(*parsed.commandLine, &error);
  ASSERT_TRUE(site) << error;
  EXPECT_EQ(site->novelHost, "cli.test:81");
  EXPECT_EQ(site->fileHost, "cli-files.test");
  EXPECT_EQ(site->startPage, "");  // given empty: no page, not the file's
  EXPECT_EQ(site->caFile, "/certs/小说.pem");
  EXPECT_FALSE(parsed.commandLine->demo);
}

TEST(CommandLineOptions, OmittedOptionsLeaveTheFile) {
  TestFolder folder;
  folder.Write("site.ini", "[Site]\nNovelHost=file.test\n");
  const ParsedCommandLine parsed = Parse({"--config", folder.Text() + "site.ini", "--demo"});
  ASSERT_TRUE(parsed.commandLine);
  EXPECT_TRUE(parsed.commandLine->demo);
  const std::optional<SiteConfig> site = SiteConfigFor(*parsed.commandLine, nullptr);
  ASSERT_TRUE(site);
  EXPECT_EQ(site->novelHost, "file.test");
  EXPECT_EQ(site->fileHost, kDefaultFileHost);
}

TEST(CommandLineOptions, ANamedConfigurationFileMustExist) {
  const ParsedCommandLine parsed = Parse({"--config", "/no/such/novelfetch.ini"});
  ASSERT_TRUE(parsed.commandLine);
  std::string error;
  EXPECT_FALSE(SiteConfigFor(*parsed.commandLine, &error));
  EXPECT_NE(error.find("/no/such/novelfetch.ini"), std::string::npos);
}

TEST(CommandLineOptions, NoArgumentsStartTheWindows) {
  const ParsedCommandLine parsed = Parse({});
  ASSERT_TRUE(parsed.commandLine);
  EXPECT_FALSE(parsed.commandLine->configFile);
  EXPECT_FALSE(parsed.commandLine->overrides.novelHost);
  EXPECT_FALSE(parsed.commandLine->demo);
}

TEST(CommandLineOptions, HelpAndMistakesEndAtOnce) {
  const ParsedCommandLine help = Parse({"--help"});
  EXPECT_FALSE(help.commandLine);
  EXPECT_EQ(help.exitStatus, 0);
  EXPECT_FALSE(help.outputIsError);
  EXPECT_NE(help.output.find("--file-host"), std::string::npos);

  for (const std::vector<std::string>& wrong :
       {std::vector<std::string>{"--no-such-option"}, {"--site"}, {"stray"}}) {
    const ParsedCommandLine parsed = Parse(wrong);
    EXPECT_FALSE(parsed.commandLine);
    EXPECT_NE(parsed.exitStatus, 0);
    EXPECT_TRUE(parsed.outputIsError);
    EXPECT_FALSE(parsed.output.empty());
  }
}

TEST(DemoMode, PointsBothHostsAtTheDemoSiteAndOpensNoPage) {
  DemoSite demo;
  SiteConfig site{"a.test", "b.test", "page.test", ""};
  ASSERT_TRUE(UseDemoSite(demo, site));
  EXPECT_GT(demo.Port(), 0);
  EXPECT_EQ(site.novelHost, "127.0.0.1:" + std::to_string(demo.Port()));
  EXPECT_EQ(site.fileHost, site.novelHost);
  EXPECT_EQ(site.startPage, "");
}

TEST(ApplySiteConfig, GivesTheWebLayerAnAbsoluteCaFile) {
  const WebSettings saved = CurrentWebSettings();
  SiteConfig site;
  site.caFile = "ca.pem";
  ApplySiteConfig(site);
  EXPECT_EQ(CurrentWebSettings().caFile, (std::filesystem::current_path() / "ca.pem").string());
  EXPECT_EQ(CurrentWebSettings().connectTimeoutMs, saved.connectTimeoutMs);
  site.caFile = "";
  ApplySiteConfig(site);
  EXPECT_EQ(CurrentWebSettings().caFile, "");
  SetWebSettings(saved);
}

}  // namespace
