// Downloading a book and saving it: where the file goes, exactly what it holds, and what a
// failed download or write leaves behind.
#include "app/save_book.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdint>
#include <filesystem>
#include <ostream>
#include <string>
#include <sys/resource.h>
#include <vector>

#include "demo/demo_site.h"
#include "sys/paths.h"
#include "tests/support/raw_http_server.h"
#include "tests/sys/test_folder.h"
#include "text/code_page.h"

namespace {

struct PathCase {
  const char* label;
  std::string directory;
  std::string name;
  std::string expected;
};

// Cases print as their label.
void PrintTo(const PathCase& c, std::ostream* os) { *os << c.label; }

class BookFilePaths : public ::testing::TestWithParam<PathCase> {};

TEST_P(BookFilePaths, JoinTheDirectoryAndASafeName) {
  const PathCase& c = GetParam();
  EXPECT_EQ(BookFilePath(c.directory, c.name), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BookFilePaths,
    ::testing::Values(
        PathCase{"TrailingSeparator", "/books/", "红楼梦", "/books/红楼梦.txt"},
        PathCase{"NoTrailingSeparatorGetsOne", "/books", "abc", "/books/abc.txt"},
        PathCase{"TrailingBackslashCounts", "D:\\books\\", "abc", "D:\\books\\abc.txt"},
        // "\x81\x5C" is one double-byte character whose second byte is a backslash.
        PathCase{"BackslashInsideACharacterDoesNotCount", "/books\x81\x5C", "abc",
                 "/books\x81\x5C/abc.txt"},
        PathCase{"EmptyDirectoryIsTheWorkingDirectory", "", "abc", "abc.txt"},
        PathCase{"ParentStepsStayInTheFolder", "/books/", "../../x", "/books/_.._x.txt"},
        PathCase{"AbsoluteNameStaysInTheFolder", "/books/", "/etc/passwd",
                 "/books/_etc_passwd.txt"},
        PathCase{"NothingUsableLeft", "/books/", "..", ""},
        PathCase{"EmptyName", "/books/", "", ""}),
    [](const auto& info) { return std::string(info.param.label); });

class SaveOnDemo : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(demo_.Start()); }

  // The demo book of that (code page 936) name.
  DemoBook Book(std::string_view name) const {
    for (const DemoBook& book : demo_.Catalogue()) {
      if (book.name == GbkToUtf8(name)) return book;
    }
    ADD_FAILURE() << "no demo book " << GbkToUtf8(name);
    return {};
  }

  std::string Address(const DemoBook& book) const { return demo_.Url(DemoBookFilePath(book)); }

  SavedBook Save(const DemoBook& book, const std::string& directory) const {
    return DownloadAndSaveBook(Address(book), directory, Utf8ToGbk(book.name));
  }

  DemoSite demo_;
  TestFolder folder_;
};

TEST_F(SaveOnDemo, WritesExactlyTheBytesServedUnderTheBooksName) {
  const DemoBook book = Book("红楼梦");
  folder_.Write(GbkToUtf8("红楼梦.txt"), "an earlier file");
  const SavedBook saved = Save(book, folder_.Text());
  ASSERT_TRUE(saved.Saved()) << saved.notice;
  EXPECT_EQ(saved.path, folder_.Text() + "红楼梦.txt");
  const Bytes expected = DemoBookBytes(book);
  EXPECT_EQ(TestFolder::Read(NativePath(saved.path)), std::string(BytesView(expected)));
  EXPECT_EQ(saved.notice, "");
  EXPECT_EQ(folder_.Entries().size(), 1u);
}

TEST_F(SaveOnDemo, AnAddressWithoutSchemeIsFetchedOverHttp) {
  const DemoBook book = Book("西游记");
  const std::string bare = demo_.HostPort() + DemoBookFilePath(book);
  const SavedBook saved = DownloadAndSaveBook(bare, folder_.Text(), Utf8ToGbk(book.name));
  EXPECT_TRUE(saved.Saved()) << saved.notice;
  EXPECT_EQ(saved.address, "http://" + bare);
}

TEST_F(SaveOnDemo, ADirectoryWithoutTrailingSeparatorGetsTheFileInside) {
  std::filesystem::create_directory(folder_.Native() / "books");
  const SavedBook saved = Save(Book("西游记"), folder_.Text() + "books");
  ASSERT_TRUE(saved.Saved()) << saved.notice;
  EXPECT_TRUE(std::filesystem::exists(folder_.Native() / "books" / GbkToUtf8("西游记.txt")));
  EXPECT_EQ(folder_.Entries(), std::vector<std::string>{"books"});
}

TEST_F(SaveOnDemo, AnEmptyDirectoryPutsTheFileInTheWorkingDirectory) {
  const std::filesystem::path saved = std::filesystem::current_path();
  std::filesystem::current_path(folder_.Native());
  const SavedBook result = Save(Book("西游记"), "");
  std::filesystem::current_path(saved);
  EXPECT_TRUE(result.Saved()) << result.notice;
  EXPECT_EQ(folder_.Entries(), std::vector<std::string>{GbkToUtf8("西游记.txt")});
}

TEST_F(SaveOnDemo, AHostileNameIsSavedInsideTheFolder) {
  DemoSiteOptions options;
  options.hostileNames = true;
  ASSERT_TRUE(demo_.SetOptions(options));
  const std::filesystem::path inner = folder_.Native() / "a" / "b";
  std::filesystem::create_directories(inner);
  const SavedBook saved = Save(Book("../../evil"), PathText(inner) + "/");
  ASSERT_TRUE(saved.Saved()) << saved.notice;
  std::vector<std::string> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder_.Native())) {
    if (entry.is_regular_file()) files.push_back(entry.path().lexically_relative(folder_.Native()));
  }
  EXPECT_EQ(files, std::vector<std::string>{"a/b/_.._evil.txt"});
}

TEST_F(SaveOnDemo, ANameWithNothingUsableIsRefusedWithoutFetching) {
  nf_test::RawHttpServer server(nf_test::HttpResponse(200, "text"));
  const SavedBook saved = DownloadAndSaveBook(server.Url("/x.txt"), folder_.Text(), "..");
  EXPECT_EQ(saved.failure, SaveFailure::kUnusableName);
  EXPECT_EQ(saved.notice, "书名无法用作文件名！");
  EXPECT_EQ(server.RequestCount(), 0u);
  EXPECT_TRUE(folder_.Entries().empty());
}

struct FailedDownloadCase {
  const char* label;
  DemoSiteOptions options;
  std::string notice;  // exact, or the start of it when the reason comes from the transfer
  bool exact;
};

// Cases print as their label.
void PrintTo(const FailedDownloadCase& c, std::ostream* os) { *os << c.label; }

class FailedDownloads : public SaveOnDemo,
                        public ::testing::WithParamInterface<FailedDownloadCase> {};

// Nothing is written: an earlier good file stays as it was, and no empty or error-page file
// appears; the notice says why.
TEST_P(FailedDownloads, KeepTheEarlierFileAndSayWhy) {
  const FailedDownloadCase& c = GetParam();
  ASSERT_TRUE(demo_.SetOptions(c.options));
  folder_.Write(GbkToUtf8("红楼梦.txt"), "the good copy");
  const SavedBook saved = Save(Book("红楼梦"), folder_.Text());
  EXPECT_EQ(saved.failure, SaveFailure::kDownload);
  if (c.exact) {
    EXPECT_EQ(saved.notice, c.notice);
  } else {
    EXPECT_TRUE(saved.notice.starts_with(c.notice)) << GbkToUtf8(saved.notice);
    EXPECT_GT(saved.notice.size(), c.notice.size());
  }
  EXPECT_EQ(folder_.Entries(), std::vector<std::string>{GbkToUtf8("红楼梦.txt")});
  EXPECT_EQ(TestFolder::Read(folder_.Native() / GbkToUtf8("红楼梦.txt")), "the good copy");
}

DemoSiteOptions WithStatus(int status) {
  DemoSiteOptions options;
  options.downloadStatus = status;
  return options;
}

DemoSiteOptions CutOffHalfway() {
  DemoSiteOptions options;
  options.dropMidBody = true;
  return options;
}

DemoSiteOptions Refusing() {
  DemoSiteOptions options;
  options.refuseConnections = true;
  return options;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FailedDownloads,
    ::testing::Values(FailedDownloadCase{"NotFound", WithStatus(404), "下载失败：HTTP 404", true},
                      FailedDownloadCase{"ServerError", WithStatus(500), "下载失败：HTTP 500",
                                         true},
                      FailedDownloadCase{"CutOffHalfway", CutOffHalfway(), "下载失败：", false},
                      FailedDownloadCase{"Refused", Refusing(), "下载失败：", false}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(SaveBook, AnEmptyBodyIsAFailedDownload) {
  TestFolder folder;
  nf_test::RawHttpServer server(nf_test::HttpResponse(200, ""));
  const SavedBook saved = DownloadAndSaveBook(server.Url("/a.txt"), folder.Text(), "abc");
  EXPECT_EQ(saved.failure, SaveFailure::kDownload);
  EXPECT_EQ(saved.notice, "下载失败：没有收到任何数据");
  EXPECT_TRUE(folder.Entries().empty());
}

TEST_F(SaveOnDemo, AMissingDirectoryIsAFailedWrite) {
  const SavedBook saved = Save(Book("西游记"), folder_.Text() + "missing/");
  EXPECT_EQ(saved.failure, SaveFailure::kWrite);
  EXPECT_TRUE(saved.notice.starts_with("保存失败：")) << GbkToUtf8(saved.notice);
  EXPECT_TRUE(folder_.Entries().empty());
}

// Lowers the largest file this process may write, for as long as it lives; a write beyond it
// fails (EFBIG) instead of raising SIGXFSZ. Works for root too, unlike a read-only folder.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &saved_);
    rlimit lowered = saved_;
    lowered.rlim_cur = bytes;
    active_ = setrlimit(RLIMIT_FSIZE, &lowered) == 0;
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, previousHandler_);
  }
  bool Active() const { return active_; }

 private:
  rlimit saved_{};
  void (*previousHandler_)(int) = nullptr;
  bool active_ = false;
};

TEST_F(SaveOnDemo, AFailedWriteKeepsTheEarlierFileAndLeavesNoTemporaryFile) {
  DemoSiteOptions options;
  options.largeBookBytes = 256 * 1024;
  ASSERT_TRUE(demo_.SetOptions(options));
  DemoBook large;
  for (const DemoBook& book : demo_.Catalogue()) {
    if (book.generated) large = book;
  }
  ASSERT_TRUE(large.generated);
  const std::string fileName = GbkToUtf8(BookFilePath("", Utf8ToGbk(large.name)));
  folder_.Write(fileName, "the good copy");
  SavedBook saved;
  {
    FileSizeLimit limit(64 * 1024);
    ASSERT_TRUE(limit.Active());
    saved = Save(large, folder_.Text());
  }
  EXPECT_EQ(saved.failure, SaveFailure::kWrite);
  EXPECT_TRUE(saved.notice.starts_with("保存失败：")) << GbkToUtf8(saved.notice);
  EXPECT_EQ(folder_.Entries(), std::vector<std::string>{fileName});
  EXPECT_EQ(TestFolder::Read(folder_.Native() / fileName), "the good copy");
}

TEST_F(SaveOnDemo, HandsTheProgressCallbackToTheDownload) {
  const DemoBook book = Book("红楼梦");
  std::uint64_t lastReceived = 0;
  int calls = 0;
  const SavedBook saved = DownloadAndSaveBook(Address(book), folder_.Text(), Utf8ToGbk(book.name),
                                              [&](std::uint64_t received, std::uint64_t) {
                                                ++calls;
                                                lastReceived = received;
                                                return true;
                                              });
  EXPECT_TRUE(saved.Saved()) << saved.notice;
  EXPECT_GT(calls, 0);
  EXPECT_EQ(lastReceived, book.size);
}

}  // namespace
