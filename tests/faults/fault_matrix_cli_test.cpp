// The fault matrix through the command line: the real novelfetch program as a child process
// against a demo site in the test process with its fault switches on. Each row checks the exit
// status, the one error line, that the run ends, and that nothing on disk is lost, changed
// or left half-written.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include <QString>

#include "sys/tick_count.h"
#include "tests/app/cli_run.h"
#include "tests/faults/fault_rows.h"

namespace {

using namespace faults;

// Far below the child's own give-up time and anything a hang would take.
constexpr std::int64_t kHangBoundMs = 30'000;

// Output that is valid UTF-8 decodes and encodes back to the same bytes.
bool IsUtf8(const std::string& bytes) {
  return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size())).toUtf8() ==
         QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  for (size_t at = 0; at < text.size();) {
    const size_t end = text.find('\n', at);
    if (end == std::string::npos) break;
    lines.push_back(text.substr(at, end - at));
    at = end + 1;
  }
  return lines;
}

class CliFaultFixture : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(demo_.Start()); }

  // Runs novelfetch with both hosts on the demo site; `took` gets the run's length.
  ProgramRun Run(std::vector<std::string> arguments, std::int64_t* took = nullptr) {
    arguments.insert(arguments.end(),
                     {"--site", demo_.HostPort(), "--file-host", demo_.HostPort()});
    const std::int64_t start = TickCount();
    ProgramRun run = RunNovelfetch(arguments);
    if (took) *took = TickCount() - start;
    return run;
  }

  std::string Address(const std::string& name) const {
    for (const DemoBook& book : demo_.Catalogue()) {
      if (book.name == name) return demo_.Url(DemoBookFilePath(book));
    }
    ADD_FAILURE() << "no demo book " << name;
    return {};
  }

  DemoSite demo_;
  TestFolder folder_;
};

// --- the search ---

class CliFaultEndlessSearch : public CliFaultFixture,
                              public ::testing::WithParamInterface<EndlessSearchFault> {};

TEST_P(CliFaultEndlessSearch, GivesUpAfterItsPacedAttemptsWithStatus1) {
  ASSERT_TRUE(Apply(demo_, GetParam().apply));
  std::int64_t took = 0;
  const ProgramRun run = Run({"search", Utf8(u8"西游"), "--attempts", "3"}, &took);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "novelfetch: no answer from " + demo_.HostPort() + " after 3 attempts\n");
  EXPECT_EQ(demo_.SearchPostCount(), GetParam().postsReachTheSite ? 3 : 0);
  EXPECT_GE(took, 2000);  // the second and third attempts waited for their turn
  EXPECT_LT(took, kHangBoundMs);
}

INSTANTIATE_TEST_SUITE_P(Rows, CliFaultEndlessSearch, ::testing::ValuesIn(EndlessSearchFaults()),
                         [](const auto& info) { return std::string(info.param.label); });

class CliFaultPage : public CliFaultFixture, public ::testing::WithParamInterface<PageFault> {};

TEST_P(CliFaultPage, PrintsTheRowsOfThePageAsUtf8) {
  const PageFault& row = GetParam();
  if (TooSlowHere(row)) GTEST_SKIP() << kTooSlowHere;
  ASSERT_TRUE(Apply(demo_, row.apply));
  std::int64_t took = 0;
  const ProgramRun run = Run({"search", row.keyword}, &took);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_LT(took, kHangBoundMs);
  if (row.attempts > 0) {
    EXPECT_EQ(demo_.SearchPostCount(), row.attempts);
  }
  EXPECT_TRUE(IsUtf8(run.out));
  const std::vector<std::string> lines = Lines(run.out);
  ASSERT_EQ(lines.size(), static_cast<size_t>(row.rows));
  EXPECT_TRUE(lines[0].starts_with(row.firstName + "\t")) << lines[0];
}

INSTANTIATE_TEST_SUITE_P(Rows, CliFaultPage, ::testing::ValuesIn(PageFaults()),
                         [](const auto& info) { return std::string(info.param.label); });

// --- the download ---

class CliFaultDownload : public CliFaultFixture,
                         public ::testing::WithParamInterface<DownloadFault> {};

TEST_P(CliFaultDownload, GivesStatus1AndLeavesTheEarlierCopyAlone) {
  const DownloadFault& row = GetParam();
  const std::string address = Address(row.book);
  folder_.Write(row.book + ".txt", "the reader's own copy");
  const FolderSnapshot before = Snapshot(folder_.Native());
  ASSERT_TRUE(Apply(demo_, row.apply));
  std::int64_t took = 0;
  const ProgramRun run = Run({"download", address, row.book, "--dir", folder_.Text()}, &took);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_TRUE(run.err.starts_with("novelfetch: cannot download " + address + " (")) << run.err;
  EXPECT_EQ(Lines(run.err).size(), 1u) << run.err;
  if (!row.reason.empty()) {
    EXPECT_NE(run.err.find(row.reason), std::string::npos) << run.err;
  }
  EXPECT_LT(took, kHangBoundMs);
  const FolderSnapshot after = Snapshot(folder_.Native());
  EXPECT_TRUE(after == before) << Paths(after);
}

INSTANTIATE_TEST_SUITE_P(Rows, CliFaultDownload, ::testing::ValuesIn(DownloadFaults()),
                         [](const auto& info) { return std::string(info.param.label); });

// --- the save folder ---

class CliFaultFolder : public CliFaultFixture,
                       public ::testing::WithParamInterface<FolderFaultRow> {};

TEST_P(CliFaultFolder, GivesStatus1AndWritesNothing) {
  const std::string book = Utf8(u8"红楼梦");
  BrokenSaveFolder folder(folder_.Native(), GetParam().fault, book + ".txt");
  if (!folder.Unavailable().empty()) GTEST_SKIP() << folder.Unavailable();
  const FolderSnapshot before = Snapshot(folder_.Native());
  const ProgramRun run = Run({"download", Address(book), book, "--dir", folder.Directory()});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_TRUE(
      run.err.starts_with("novelfetch: cannot write " + folder.Directory() + book + ".txt ("))
      << run.err;
  EXPECT_EQ(Lines(run.err).size(), 1u) << run.err;
  const FolderSnapshot after = Snapshot(folder_.Native());
  EXPECT_TRUE(after == before) << Paths(after);
}

INSTANTIATE_TEST_SUITE_P(Rows, CliFaultFolder, ::testing::ValuesIn(FolderFaults()),
                         [](const auto& info) { return std::string(info.param.label); });

// --- the book's name ---

class CliFaultName : public CliFaultFixture,
                     public ::testing::WithParamInterface<std::tuple<HostileName, int>> {};

TEST_P(CliFaultName, IsSavedInsideTheFolderUnderASafeNameOrRefused) {
  const auto& [row, mode] = GetParam();
  ASSERT_TRUE(Apply(demo_, [](DemoSiteOptions& o) { o.hostileNames = true; }));
  // An empty keyword lists every book in catalogue order.
  const std::vector<DemoBook> books = demo_.Catalogue();
  int pick = 0;
  const DemoBook* book = nullptr;
  for (size_t i = 0; i < books.size() && !book; ++i) {
    if (books[i].name == row.name) {
      book = &books[i];
      pick = static_cast<int>(i) + 1;
    }
  }
  ASSERT_NE(book, nullptr);
  const std::filesystem::path inner = folder_.Native() / "a" / "b";
  std::filesystem::create_directories(inner);
  const std::string dir = inner.string() + "/";
  const ProgramRun run = Run(
      {"get", "", "--pick", std::to_string(pick), "--mode", std::to_string(mode), "--dir", dir});
  const FolderSnapshot after = Snapshot(folder_.Native());
  if (row.file.empty()) {
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("leaves no usable file name"), std::string::npos) << run.err;
    EXPECT_EQ(after, (FolderSnapshot{{"a", "<folder>"}, {"a/b", "<folder>"}})) << Paths(after);
    return;
  }
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, dir + row.file + "\n");
  EXPECT_EQ(after,
            (FolderSnapshot{{"a", "<folder>"},
                            {"a/b", "<folder>"},
                            {"a/b/" + row.file, std::string(BytesView(DemoBookBytes(*book)))}}))
      << Paths(after);
}

INSTANTIATE_TEST_SUITE_P(Rows, CliFaultName,
                         ::testing::Combine(::testing::ValuesIn(HostileNames()),
                                            ::testing::Values(1, 2)),
                         [](const auto& info) {
                           return std::string(std::get<0>(info.param).label) + "Mode" +
                                  std::to_string(std::get<1>(info.param));
                         });

}  // namespace
