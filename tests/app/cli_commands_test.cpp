// The command line, run as the real program against a demo site started in the test process
// (or its own with --demo): output, files written and exit status of every command.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <vector>

#include "demo/demo_catalogue.h"
#include "demo/demo_site.h"
#include "tests/app/cli_run.h"
#include "tests/sys/test_folder.h"
#include "text/bytes.h"

namespace {

namespace fs = std::filesystem;

const DemoBook* FindBook(const std::vector<DemoBook>& books, const std::string& name) {
  for (const DemoBook& book : books) {
    if (book.name == name) return &book;
  }
  return nullptr;
}

std::string FileBytes(const fs::path& file) { return TestFolder::Read(file); }

std::string ServedBytes(const DemoBook& book) {
  return std::string(BytesView(DemoBookBytes(book)));
}

class CommandLineOnDemo : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(demo_.Start());
    books_ = demo_.Catalogue();
  }

  // Runs novelfetch with both hosts on the demo site (the options after the command).
  ProgramRun Run(std::vector<std::string> arguments) {
    arguments.insert(arguments.end(), {"--site", Host(), "--file-host", Host()});
    return RunNovelfetch(arguments);
  }

  std::string Host() const { return demo_.HostPort(); }

  const DemoBook& Book(std::u8string_view name) const {
    const DemoBook* book = FindBook(books_, U8(name));
    EXPECT_NE(book, nullptr);
    return book ? *book : books_.front();
  }

  // The row as the terminal shows it: the site's own UTF-8 cells, TAB-separated.
  std::string ShownLine(const DemoBook& book) const {
    return book.name + "\t" + book.author + "\t" + book.intro + "\thttp://" + Host() + "/txt/" +
           book.pageId + ".html\t" + DemoSizeText(book.size) + "\t" + book.date + "\n";
  }

  void UseHostileNames() {
    DemoSiteOptions options = demo_.Options();
    options.hostileNames = true;
    ASSERT_TRUE(demo_.SetOptions(options));
    books_ = demo_.Catalogue();
  }

  // A folder inside the test's folder, with its path as --dir takes it.
  std::string Inner(const std::string& name = "inner") const {
    fs::create_directories(folder_.Native() / name);
    return (folder_.Native() / name).string() + "/";
  }

  DemoSite demo_;
  TestFolder folder_;
  std::vector<DemoBook> books_;
};

// search

using CliSearch = CommandLineOnDemo;

TEST_F(CliSearch, PrintsOneLinePerResultInMatchOrder) {
  const ProgramRun run = Run({"search", U8(u8"游")});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, ShownLine(Book(u8"西游记")) + ShownLine(Book(u8"老残游记")));
  EXPECT_EQ(run.err, "");
}

TEST_F(CliSearch, CommonOptionsStandBeforeOrAfterTheCommand) {
  const std::string expected = ShownLine(Book(u8"西游记"));
  const std::string keyword = U8(u8"西游");
  const std::vector<std::vector<std::string>> orders = {
      {"--site", Host(), "--file-host", Host(), "search", keyword},
      {"search", keyword, "--site", Host(), "--file-host", Host()},
      {"--site", Host(), "search", "--file-host", Host(), keyword},
      {"--attempts", "3", "search", keyword, "--site", Host()},
  };
  for (const std::vector<std::string>& arguments : orders) {
    const ProgramRun run = RunNovelfetch(arguments);
    EXPECT_EQ(run.status, 0) << arguments[0] << " " << arguments[1] << ": " << run.err;
    EXPECT_EQ(run.out, expected) << arguments[0] << " " << arguments[1];
  }
}

TEST_F(CliSearch, LinesWriteTabsAndLineBreaksInACellAsSpaces) {
  UseHostileNames();
  const ProgramRun run = Run({"search", "name"});
  EXPECT_EQ(run.status, 0) << run.err;
  const DemoBook& book = Book(u8"evil\r\nname");
  std::string line = ShownLine(book);
  line.replace(0, book.name.size(), "evil  name");
  EXPECT_EQ(run.out, line);
}

TEST_F(CliSearch, JsonGivesEachCellAsItStands) {
  UseHostileNames();
  const ProgramRun run = Run({"search", "evil", "--json"});
  EXPECT_EQ(run.status, 0) << run.err;
  const DemoBook& book = Book(u8"../../evil");
  const std::string rest =
      "\", \"" + book.author + "\", \"" + book.intro + "\", \"http://" + Host() + "/txt/";
  const std::string tail = ".html\", \"" + DemoSizeText(book.size) + "\", \"2021-12-12\"]";
  EXPECT_EQ(run.out, "[\n  [\"../../evil" + rest + "9001" + tail + ",\n  [\"..\\\\..\\\\evil" +
                         rest + "9002" + tail + ",\n  [\"evil\\r\\nname" + rest + "9005" + tail +
                         "\n]\n");
}

// A JSON parser's verdict on `json`, which must also be valid UTF-8; "" when it parses.
std::string JsonParserComplaint(const std::string& json) {
  QProcess python;
  python.start("python3", {"-c", "import json, sys; json.loads(sys.stdin.buffer.read().decode())"});
  if (!python.waitForStarted()) return "no python3 to check with";
  python.write(json.data(), static_cast<qint64>(json.size()));
  python.closeWriteChannel();
  python.waitForFinished(kProgramGiveUpMs);
  if (python.exitStatus() == QProcess::NormalExit && python.exitCode() == 0) return "";
  return python.readAllStandardError().toStdString();
}

TEST_F(CliSearch, JsonParsesEvenWhenThePageHoldsBytesThatAreNotUtf8) {
  DemoSiteOptions options = demo_.Options();
  options.invalidUtf8 = true;
  options.hostileNames = true;
  ASSERT_TRUE(demo_.SetOptions(options));
  const ProgramRun run = Run({"search", "", "--json"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(JsonParserComplaint(run.out), "");
}

TEST_F(CliSearch, NoResultGives1) {
  const ProgramRun run = Run({"search", U8(u8"没有这本书")});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, U8(u8"novelfetch: no result for \"没有这本书\"\n"));
}

TEST_F(CliSearch, ARefusingSiteGives1AfterTheAttempts) {
  ASSERT_TRUE(demo_.SetRefusing(true));
  const ProgramRun run = Run({"search", U8(u8"西游"), "--attempts", "2"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "novelfetch: no answer from " + Host() + " after 2 attempts\n");
}

TEST_F(CliSearch, EmptyAnswersAreTriedAgain) {
  demo_.SetEmptySearchAnswers(1);
  const ProgramRun run = Run({"search", U8(u8"西游")});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, ShownLine(Book(u8"西游记")));
  EXPECT_EQ(demo_.SearchPostCount(), 2);
}

// address and resolve

using CliAddress = CommandLineOnDemo;

TEST_F(CliAddress, ComputesTheFileServerAddressFromNameAndDate) {
  const ProgramRun run = Run({"address", U8(u8"西游记"), "2015-03-12"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "http://" + Host() + "/d/file/p/txt/2015/%E8%A5%BF%E6%B8%B8%E8%AE%B0.txt\n");
  EXPECT_EQ(run.out, "http://" + Host() + DemoBookFilePath(Book(u8"西游记")) + "\n");
}

TEST_F(CliAddress, ADateWithoutAYearGives1) {
  for (const char* date : {"2015", "2015-03", "-03-12"}) {
    const ProgramRun run = Run({"address", U8(u8"西游记"), date});
    EXPECT_EQ(run.status, 1) << date;
    EXPECT_EQ(run.out, "") << date;
    EXPECT_NE(run.err.find("no year"), std::string::npos) << date << ": " << run.err;
  }
}

TEST_F(CliAddress, ResolveReadsTheAddressFromTheSitesPages) {
  // The site's link spells this name in other letter case.
  const DemoBook& book = Book(u8"Peach Blossom Spring");
  const std::string page = "http://" + Host() + "/txt/" + book.pageId + ".html";
  const ProgramRun run = Run({"resolve", page, book.name});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "http://" + Host() + DemoBookFilePath(book) + "\n");
}

TEST_F(CliAddress, ResolveWithoutALinkOnThePagesGives1) {
  const ProgramRun run = Run({"resolve", "http://" + Host() + "/txt/none.html", "x"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_NE(run.err.find("no download address"), std::string::npos) << run.err;
}

// download

using CliDownload = CommandLineOnDemo;

TEST_F(CliDownload, SavesTheBytesServedAsDirNameTxtAndPrintsThePath) {
  const DemoBook& book = Book(u8"红楼梦");
  const std::string dir = Inner();
  // The folder without its final separator gets one.
  const ProgramRun run = Run({"download", demo_.Url(DemoBookFilePath(book)), book.name, "--dir",
                              dir.substr(0, dir.size() - 1)});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, dir + book.name + ".txt\n");
  EXPECT_EQ(FileBytes(dir + book.name + ".txt"), ServedBytes(book));
}

TEST_F(CliDownload, AFailedDownloadLeavesTheExistingFileAlone) {
  const DemoBook& book = Book(u8"红楼梦");
  const std::string dir = Inner();
  std::ofstream(dir + book.name + ".txt", std::ios::binary) << "an earlier copy";
  DemoSiteOptions options = demo_.Options();
  options.downloadStatus = 404;
  ASSERT_TRUE(demo_.SetOptions(options));
  for (const std::string& address : {demo_.Url(DemoBookFilePath(book)), demo_.Url("/nothing")}) {
    const ProgramRun run = Run({"download", address, book.name, "--dir", dir});
    EXPECT_EQ(run.status, 1) << address;
    EXPECT_EQ(run.out, "") << address;
    EXPECT_NE(run.err.find("cannot download " + address), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("404"), std::string::npos) << run.err;
  }
  EXPECT_EQ(FileBytes(dir + book.name + ".txt"), "an earlier copy");
  EXPECT_EQ(fs::directory_iterator(dir)->path().filename().string(), book.name + ".txt");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

TEST_F(CliDownload, AnUnreachableAddressGives1AndWritesNothing) {
  ASSERT_TRUE(demo_.SetRefusing(true));
  const std::string dir = Inner();
  const ProgramRun run = Run({"download", demo_.Url("/d/file/p/txt/x.txt"), "x", "--dir", dir});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_TRUE(fs::is_empty(dir));
}

TEST_F(CliDownload, HostileNamesStayInsideTheFolder) {
  const std::string address = demo_.Url(DemoBookFilePath(Book(u8"红楼梦")));
  const std::string dir = Inner();
  const std::vector<std::string> names = {"../../evil", "..\\..\\evil", "/etc/passwd",
                                          "a:b*c?",     "evil\r\nname", U8(u8"../书/名")};
  for (const std::string& name : names) {
    const ProgramRun run = Run({"download", address, name, "--dir", dir});
    ASSERT_EQ(run.status, 0) << name << ": " << run.err;
    ASSERT_EQ(run.out.substr(0, dir.size()), dir) << run.out;
    const fs::path written = run.out.substr(0, run.out.size() - 1);
    EXPECT_EQ(written.parent_path().string() + "/", dir) << run.out;
    EXPECT_TRUE(fs::is_regular_file(written)) << run.out;
  }
  // Nothing beside the folder.
  EXPECT_EQ(folder_.Entries(), std::vector<std::string>{"inner"});

  for (const char* unusable : {"..", ".", " "}) {
    const ProgramRun run = Run({"download", address, unusable, "--dir", dir});
    EXPECT_EQ(run.status, 1) << unusable;
    EXPECT_NE(run.err.find("no usable file name"), std::string::npos) << run.err;
  }
}

// get

using CliGet = CommandLineOnDemo;

TEST_F(CliGet, BothModesSaveTheBytesTheFileServerServes) {
  for (const DemoBook* book : {&Book(u8"西游记"), &Book(u8"Peach Blossom Spring")}) {
    for (const char* mode : {"1", "2"}) {
      const std::string dir = Inner(std::string("mode") + mode + book->pageId);
      const ProgramRun run = Run({"get", book->name, "--mode", mode, "--dir", dir});
      EXPECT_EQ(run.status, 0) << mode << ": " << run.err;
      EXPECT_EQ(run.out, dir + book->name + ".txt\n") << mode;
      EXPECT_EQ(FileBytes(dir + book->name + ".txt"), ServedBytes(*book)) << mode;
    }
  }
}

TEST_F(CliGet, TakesTheResultPicked) {
  const std::string dir = Inner();
  const ProgramRun run = Run({"get", U8(u8"游"), "--pick", "2", "--dir", dir});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, dir + U8(u8"老残游记.txt\n"));
  EXPECT_EQ(FileBytes(dir + U8(u8"老残游记.txt")), ServedBytes(Book(u8"老残游记")));
}

TEST_F(CliGet, APickBeyondTheResultsGives1) {
  const std::string dir = Inner();
  const ProgramRun run = Run({"get", U8(u8"游"), "--pick", "3", "--dir", dir});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, U8(u8"novelfetch: no result 3: the search for \"游\" gave 2 results\n"));
  EXPECT_TRUE(fs::is_empty(dir));
}

TEST_F(CliGet, AFailedDownloadGives1AndLeavesTheExistingFileAlone) {
  const std::string dir = Inner();
  std::ofstream(dir + U8(u8"西游记.txt"), std::ios::binary) << "kept";
  DemoSiteOptions options = demo_.Options();
  options.downloadStatus = 404;
  ASSERT_TRUE(demo_.SetOptions(options));
  for (const char* mode : {"1", "2"}) {
    const ProgramRun run = Run({"get", U8(u8"西游"), "--mode", mode, "--dir", dir});
    EXPECT_EQ(run.status, 1) << mode;
    EXPECT_EQ(run.out, "") << mode;
  }
  EXPECT_EQ(FileBytes(dir + U8(u8"西游记.txt")), "kept");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

TEST_F(CliGet, HostileNamesFromTheSiteStayInsideTheFolder) {
  UseHostileNames();
  const std::string dir = Inner();
  for (const char* pick : {"1", "2", "3"}) {
    const ProgramRun run = Run({"get", "evil", "--pick", pick, "--mode", "2", "--dir", dir});
    ASSERT_EQ(run.status, 0) << pick << ": " << run.err;
    const fs::path written = run.out.substr(0, run.out.size() - 1);
    EXPECT_EQ(written.parent_path().string() + "/", dir) << run.out;
    EXPECT_TRUE(fs::is_regular_file(written)) << run.out;
  }
  EXPECT_EQ(folder_.Entries(), std::vector<std::string>{"inner"});
}

TEST_F(CliGet, ChineseFolderNamesSurviveTheTerminal) {
  const std::string dir = Inner(U8(u8"书库"));
  const ProgramRun run = Run({"get", U8(u8"红楼"), "--dir", dir});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, dir + U8(u8"红楼梦.txt\n"));
  EXPECT_EQ(FileBytes(dir + U8(u8"红楼梦.txt")), ServedBytes(Book(u8"红楼梦")));
}

TEST_F(CliGet, TheFolderDefaultsToTheSavedDirectoryElseTheCurrentOne) {
  // The program's settings folder is the folder it lies in.
  const std::string program = ProgramIn(folder_.Native());
  const std::string current = Inner("current");
  const std::vector<std::string> arguments = {"get",  U8(u8"红楼"),  "--site",
                                              Host(), "--file-host", Host()};
  ProgramRun run = RunProgramAt(program, arguments, current);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, current + U8(u8"红楼梦.txt\n"));
  EXPECT_TRUE(fs::is_regular_file(current + U8(u8"红楼梦.txt")));

  // The windows' save directory, kept in code page 936.
  const std::string saved = Inner(U8(u8"保存"));
  folder_.Write("To configure.ini", "[Catalog]\nCatalog=" + folder_.Text() + "保存/\n");
  run = RunProgramAt(program, arguments, current);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, saved + U8(u8"红楼梦.txt\n"));
  EXPECT_EQ(FileBytes(saved + U8(u8"红楼梦.txt")), ServedBytes(Book(u8"红楼梦")));
}

// --demo

TEST(CliDemoOption, ServesEveryCommandFromTheProgramsOwnDemoSite) {
  TestFolder folder;
  const std::vector<DemoBook> books = DemoCatalogue();
  const DemoBook* book = FindBook(books, U8(u8"红楼梦"));
  ASSERT_NE(book, nullptr);

  ProgramRun run = RunNovelfetch({"--demo", "search", U8(u8"红楼")});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out.substr(0, book->name.size() + 1), book->name + "\t");

  run = RunNovelfetch({"address", book->name, book->date, "--demo"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out.substr(0, 17), "http://127.0.0.1:");

  for (const char* mode : {"1", "2"}) {
    run = RunNovelfetch({"--demo", "get", book->name, "--mode", mode, "--dir", folder.Text()});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, folder.Text() + book->name + ".txt\n");
    EXPECT_EQ(FileBytes(folder.Text() + book->name + ".txt"), ServedBytes(*book));
  }
}

// usage

struct UsageCase {
  const char* name;
  std::vector<std::string> arguments;
};

void PrintTo(const UsageCase& c, std::ostream* out) { *out << c.name; }

class CliUsageError : public ::testing::TestWithParam<UsageCase> {};

TEST_P(CliUsageError, Gives2AndAHelpLine) {
  const ProgramRun run = RunNovelfetch(GetParam().arguments);
  EXPECT_EQ(run.status, 2) << run.err;
  EXPECT_EQ(run.out, "");
  EXPECT_NE(run.err.find("Run with --help for more information."), std::string::npos) << run.err;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CliUsageError,
    ::testing::Values(UsageCase{"unknown_command", {"fetch", "x"}},
                      UsageCase{"unknown_option", {"search", "x", "--no-such-option"}},
                      UsageCase{"missing_keyword", {"search"}},
                      UsageCase{"missing_date", {"address", "name"}},
                      UsageCase{"extra_argument", {"resolve", "a", "b", "c"}},
                      UsageCase{"option_of_another_command", {"search", "x", "--dir", "/tmp"}},
                      UsageCase{"dir_before_its_command", {"--dir", "/tmp", "get", "x"}},
                      UsageCase{"mode_3", {"get", "x", "--mode", "3"}},
                      UsageCase{"pick_0", {"get", "x", "--pick", "0"}},
                      UsageCase{"pick_not_a_number", {"get", "x", "--pick", "two"}},
                      UsageCase{"attempts_0", {"--attempts", "0", "search", "x"}},
                      UsageCase{"site_without_value", {"search", "x", "--site"}},
                      UsageCase{"two_commands", {"search", "x", "get", "y"}},
                      UsageCase{"dir_outside_code_page_936",
                                {"get", "x", "--dir", U8(u8"/tmp/\U0001F600/")}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CliUsage, HelpListsTheCommandsAndVersionPrintsTheProjectVersion) {
  ProgramRun run = RunNovelfetch({"--help"});
  EXPECT_EQ(run.status, 0);
  for (const char* word : {"search", "address", "resolve", "download", "get", "--site",
                           "--file-host", "--config", "--ca-file", "--attempts", "--demo"}) {
    EXPECT_NE(run.out.find(word), std::string::npos) << word;
  }
  run = RunNovelfetch({"get", "--help"});
  EXPECT_EQ(run.status, 0);
  for (const char* word : {"KEYWORD", "--pick", "--mode", "--dir"}) {
    EXPECT_NE(run.out.find(word), std::string::npos) << word;
  }
  run = RunNovelfetch({"--version"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "novelfetch " NOVELFETCH_VERSION "\n");
}

TEST(CliUsage, AKeywordMayBeACommandsNameOrStartWithADash) {
  DemoSite demo;
  ASSERT_TRUE(demo.Start());
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{"search", "get", "--site", demo.HostPort()},
        {"search", "--site", demo.HostPort(), "--", "-x"}}) {
    const ProgramRun run = RunNovelfetch(arguments);
    EXPECT_EQ(run.status, 1) << arguments[1];
    EXPECT_NE(run.err.find("no result for"), std::string::npos) << run.err;
  }
}

}  // namespace
