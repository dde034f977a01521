// The demo site in-process, read the way the tool reads the real site: FetchText, the site
// patterns and RegexObject, DownloadWhole for the files.
#include "demo/demo_site.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/socket_io.h"
#include "text/code_page.h"
#include "text/regex_object.h"
#include "text/text_find.h"
#include "text/url_encode.h"
#include "web/download_whole.h"
#include "web/fetch.h"
#include "web/site_patterns.h"
#include "web/web_settings.h"

namespace {

using Clock = std::chrono::steady_clock;
using Rows = std::vector<std::vector<std::string>>;

// "南汉刘䶮传" in UTF-8: "䶮" has no code page 936 form, so it cannot be a literal here.
constexpr const char* kUnholdableName =
    "\xE5\x8D\x97\xE6\xB1\x89\xE5\x88\x98\xE4\xB6\xAE\xE4\xBC\xA0";

std::string Gbk(const std::string& utf8) { return Utf8ToGbk(utf8); }
std::string Utf8(std::string_view gbk) { return GbkToUtf8(gbk); }

long long MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

// The search form body the tool sends for a keyword (a code page 936 text).
std::string SearchBody(std::string_view keyword) {
  return std::string(kSearchBodyPrefix) + UrlEncode(keyword, false, true) +
         std::string(kSearchBodySuffix);
}

std::string Post(const DemoSite& site, std::string_view body) {
  FetchParams params;
  params.method = 1;
  params.bodyText = body;
  return FetchText(site.Url(kSearchPath), params);
}

Rows ResultRows(std::string page) {
  page = TextReplaceAll(TextReplaceAll(page, "<em>", ""), "</em>", "");
  RegexObject regex;
  regex.Search(kResultPattern, page);
  Rows rows;
  for (int match = 1; match <= regex.MatchCount(); ++match) {
    std::vector<std::string> row;
    for (int group = 1; group <= kResultColumns; ++group) {
      row.push_back(regex.SubmatchText(match, group));
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

std::string FirstGroup(std::string_view pattern, std::string_view page) {
  RegexObject regex;
  regex.Search(pattern, page);
  return regex.SubmatchText(1, 1);
}

// The two page reads of the tool's address resolution: book page, then download page; the
// link as the page writes it, without "http://".
std::string DownloadLink(const DemoSite& site, const std::string& pageAddress) {
  const std::string pageName = FirstGroup(kDownloadPagePattern, FetchText(pageAddress));
  return FirstGroup(kDownloadLinkPattern, FetchText(site.Url("/txt/" + pageName + ".html")));
}

Bytes Download(std::string address, DownloadStatus* status, const DownloadProgress& progress = {}) {
  return DownloadWhole(address, status, progress);
}

const DemoBook& BookNamed(const std::vector<DemoBook>& books, const std::string& nameUtf8) {
  auto found = std::find_if(books.begin(), books.end(),
                            [&](const DemoBook& book) { return book.name == nameUtf8; });
  EXPECT_NE(found, books.end());
  return *found;
}

DemoSiteOptions SmallSite() {
  DemoSiteOptions options;
  options.largeBookBytes = 256 * 1024;  // big enough to stream in many chunks, quick to check
  return options;
}

class DemoSiteTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    WebGlobalInit();
    WebSettings settings;
    settings.connectTimeoutMs = 3000;
    settings.stallTimeoutMs = 5000;
    settings.maxRedirects = 5;
    SetWebSettings(settings);
  }

  void SetUp() override {
    ASSERT_TRUE(site_.Start());
    books_ = site_.Catalogue();
  }

  void Reconfigure(const std::function<void(DemoSiteOptions&)>& change) {
    DemoSiteOptions options = site_.Options();
    change(options);
    ASSERT_TRUE(site_.SetOptions(options));
    books_ = site_.Catalogue();
  }

  const DemoBook& Book(const std::string& nameGbk) { return BookNamed(books_, Utf8(nameGbk)); }

  DemoSite site_{SmallSite()};
  std::vector<DemoBook> books_;
};

TEST_F(DemoSiteTest, SearchGivesTheMatchingBooksThroughTheResultPattern) {
  struct Case {
    std::string keyword;  // code page 936, as the tool holds it
    std::vector<std::string> names;
  };
  const std::vector<DemoBook> books = site_.Catalogue();
  std::vector<std::string> everyName;
  for (const DemoBook& book : books) everyName.push_back(Gbk(book.name));
  for (const Case& c : std::vector<Case>{
           {"梦", {"红楼梦"}},
           {"记", {"西游记", "老残游记"}},
           {"pEaCh", {"Peach Blossom Spring"}},
           {"", everyName},
           {"没有这本书", {}},
       }) {
    const Rows rows = ResultRows(Post(site_, SearchBody(c.keyword)));
    std::vector<std::string> names;
    for (const auto& row : rows) names.push_back(row[kColumnName]);
    EXPECT_EQ(names, c.names) << Utf8(c.keyword);
  }
  EXPECT_EQ(site_.SearchPostCount(), 5);
}

TEST_F(DemoSiteTest, ResultRowCarriesAuthorIntroAddressSizeAndDate) {
  const Rows rows = ResultRows(Post(site_, SearchBody("红楼")));
  ASSERT_EQ(rows.size(), 1u);
  const DemoBook& book = Book("红楼梦");
  EXPECT_EQ(rows[0], (std::vector<std::string>{"红楼梦", "曹雪芹", Gbk(book.intro),
                                               site_.Url("/txt/" + book.pageId + ".html"),
                                               DemoSizeText(book.size), "2016-05-25"}));
}

TEST_F(DemoSiteTest, KeywordIsHighlightedAndTheBodyRecordedAsSent) {
  const std::string body = SearchBody("楼");
  const std::string page = Post(site_, body);
  EXPECT_NE(page.find("红<em>楼</em>梦"), std::string::npos);
  EXPECT_EQ(site_.SearchBodies(), std::vector<std::string>{body});
  site_.ClearRecords();
  EXPECT_EQ(site_.SearchPostCount(), 0);
  EXPECT_TRUE(site_.SearchBodies().empty());
}

TEST_F(DemoSiteTest, MalformedSearchGetsTheErrorPageWithoutResults) {
  for (const std::string& body :
       {std::string(), std::string("keyboard"), std::string("classid=0&show=title"),
        std::string(kSearchBodyPrefix) + "%ZZ" + std::string(kSearchBodySuffix),
        std::string(kSearchBodyPrefix) + "\xE6\xA2\xA6" + std::string(kSearchBodySuffix)}) {
    const std::string page = Post(site_, body);
    EXPECT_NE(page.find("<div class=\"msg\">"), std::string::npos) << body;
    EXPECT_TRUE(ResultRows(page).empty()) << body;
  }
  EXPECT_TRUE(ResultRows(FetchText(site_.Url(kSearchPath))).empty());  // a GET is no search
}

TEST_F(DemoSiteTest, BookAndDownloadPagesGiveTheLinkAndTheFileServerTheBytes) {
  for (const DemoBook& book : site_.Catalogue()) {
    const std::string name = Gbk(book.name);
    if (name.find('?') != std::string::npos) continue;  // checked on its own below
    const Rows rows = ResultRows(Post(site_, SearchBody(name)));
    ASSERT_FALSE(rows.empty()) << book.name;
    const std::string link = DownloadLink(site_, rows[0][kColumnPageAddress]);
    EXPECT_EQ(link, site_.HostPort() + "/d/file/p/txt/" + DemoBookYear(book) + "/" +
                        Gbk(book.linkName) + ".txt");
    // As the tool resolves it: the name, any letter case, replaced by its encoded UTF-8.
    const std::string resolved =
        "http://" + TextReplaceAll(link, name, UrlEncode(name, false, true), true);
    DownloadStatus status;
    const Bytes bytes = Download(resolved, &status);
    EXPECT_EQ(status.httpStatus, 200) << book.name;
    EXPECT_TRUE(bytes == DemoBookBytes(book)) << book.name;
  }
}

TEST_F(DemoSiteTest, FileServerMatchesTheExactNameAndYear) {
  const DemoBook& peach = Book("Peach Blossom Spring");
  ASSERT_NE(peach.linkName, peach.name);
  struct Case {
    std::string path;
    long status;
  };
  for (const Case& c : std::vector<Case>{
           {DemoBookFilePath(BookNamed(books_, kUnholdableName)), 200},  // served by its UTF-8
           {"/d/file/p/txt/2018/" + UrlEncode("南汉刘?传", false, true) + ".txt", 404},
           {DemoBookFilePath(peach), 200},
           {"/d/file/p/txt/2013/" + UrlEncode(peach.linkName) + ".txt", 404},  // raw link case
           {"/d/file/p/txt/1999/%E7%BA%A2%E6%A5%BC%E6%A2%A6.txt", 404},        // wrong year
           {"/d/file/p/txt/2016/%E7%BA%A2%E6%A5%BC%E6%A2%A6.txt", 200},
           {"/d/file/p/txt/2016/%E7%BA%A2%E6%A5%BC%E6%A2%A6", 404},
           {"/d/file/p/txt/2016/%E7%BA%A2%ZZ.txt", 404},
           {"/txt/0.html", 404},
           {"/nothing", 404},
       }) {
    DownloadStatus status;
    const Bytes body = Download(site_.Url(c.path), &status);
    EXPECT_EQ(status.httpStatus, c.status) << c.path;
    if (c.status == 404) {
      EXPECT_NE(BytesView(body).find("<html>"), std::string::npos) << c.path;
    }
  }
}

TEST_F(DemoSiteTest, FilesAreCodePage936WithCrLfAndContentLength) {
  std::string rawHeaders;
  FetchParams params;
  params.rawHeaders = &rawHeaders;
  const DemoBook& book = Book("西游记");
  const Bytes bytes = FetchBytes(site_.Url(DemoBookFilePath(book)), params);
  EXPECT_NE(TextFind(rawHeaders, "Content-Length: " + std::to_string(book.size), 1, true), -1);
  EXPECT_EQ(std::string(BytesView(bytes)).rfind("《西游记》\r\n作者：吴承恩\r\n", 0), 0u);
}

TEST_F(DemoSiteTest, GeneratedBookStreamsTheSameBytesEveryTime) {
  Reconfigure([](DemoSiteOptions& o) { o.largeBookBytes = 3 * 1024 * 1024; });
  const DemoBook& book = Book("演示长卷");
  ASSERT_EQ(book.size, 3u * 1024 * 1024);
  int progressCalls = 0;
  DownloadStatus status;
  const Bytes first = Download(site_.Url(DemoBookFilePath(book)), &status,
                               [&](std::uint64_t, std::uint64_t) { return ++progressCalls > 0; });
  EXPECT_FALSE(status.transferFailed) << status.error;
  EXPECT_GT(progressCalls, 2);
  EXPECT_TRUE(first == DemoBookBytes(book));
  EXPECT_TRUE(Download(site_.Url(DemoBookFilePath(book)), &status) == first);
}

TEST_F(DemoSiteTest, EmptyAnswersForTheFirstPostsOnly) {
  site_.SetEmptySearchAnswers(2);
  EXPECT_EQ(Post(site_, SearchBody("梦")), "");
  EXPECT_EQ(Post(site_, SearchBody("梦")), "");
  EXPECT_EQ(ResultRows(Post(site_, SearchBody("梦"))).size(), 1u);
  EXPECT_EQ(site_.SearchPostCount(), 3);
  // On the wire the empty answer is a 200 with a Content-Length of 0.
  site_.SetEmptySearchAnswers(1);
  const std::atomic<bool> stop{false};
  nf_test::Socket socket = nf_test::ConnectLoopback(site_.Port());
  ASSERT_TRUE(socket.Valid());
  const std::string body = SearchBody("梦");
  ASSERT_TRUE(nf_test::SendAll(socket.Fd(),
                               "POST /e/search/index.php HTTP/1.1\r\nHost: x\r\n"
                               "Content-Length: " +
                                   std::to_string(body.size()) + "\r\n\r\n" + body));
  const auto reply = nf_test::ReadHttpMessage(socket.Fd(), stop, false, std::chrono::seconds(5));
  ASSERT_TRUE(reply.has_value());
  EXPECT_EQ(reply->head.rfind("HTTP/1.1 200", 0), 0u);
  EXPECT_EQ(nf_test::HeaderValue(reply->head, "Content-Length"), "0");
}

TEST_F(DemoSiteTest, DelayHoldsSearchPostsAndOptionallyEveryRequest) {
  constexpr int kDelayMs = 400;
  site_.SetDelay(kDelayMs);
  auto start = Clock::now();
  EXPECT_EQ(ResultRows(Post(site_, SearchBody("梦"))).size(), 1u);
  EXPECT_GE(MillisecondsSince(start), kDelayMs - 20);
  site_.SetDelay(kDelayMs, true);
  start = Clock::now();
  EXPECT_FALSE(FetchText(site_.Url("/txt/1001.html")).empty());
  EXPECT_GE(MillisecondsSince(start), kDelayMs - 20);
  site_.SetDelay(0);
  EXPECT_EQ(site_.Options().delayMs, 0);
}

TEST_F(DemoSiteTest, RefusingStopsListeningOnTheSamePortAndResumes) {
  const int port = site_.Port();
  ASSERT_TRUE(site_.SetRefusing(true));
  EXPECT_EQ(Post(site_, SearchBody("梦")), "");
  EXPECT_FALSE(nf_test::ConnectLoopback(port).Valid());
  EXPECT_EQ(site_.SearchPostCount(), 0);
  ASSERT_TRUE(site_.SetRefusing(false));
  EXPECT_EQ(site_.Port(), port);
  EXPECT_EQ(ResultRows(Post(site_, SearchBody("梦"))).size(), 1u);
}

TEST(DemoSite, StartedRefusingHoldsAPortButNobodyListens) {
  DemoSiteOptions options;
  options.refuseConnections = true;
  DemoSite site(options);
  ASSERT_TRUE(site.Start());
  EXPECT_GT(site.Port(), 0);
  EXPECT_FALSE(nf_test::ConnectLoopback(site.Port()).Valid());
  EXPECT_FALSE(site.Start());  // started already, refusing or not
  ASSERT_TRUE(site.SetRefusing(false));
  EXPECT_TRUE(nf_test::ConnectLoopback(site.Port()).Valid());
}

TEST_F(DemoSiteTest, DropMidBodyCutsTheDownloadHalfway) {
  Reconfigure([](DemoSiteOptions& o) { o.dropMidBody = true; });
  for (const std::string& name : {std::string("红楼梦"), std::string("演示长卷")}) {
    const DemoBook& book = Book(name);
    DownloadStatus status;
    const Bytes bytes = Download(site_.Url(DemoBookFilePath(book)), &status);
    EXPECT_TRUE(status.transferFailed) << Utf8(name);
    EXPECT_LT(bytes.size(), book.size) << Utf8(name);
  }
}

TEST_F(DemoSiteTest, DownloadStatusAnswersEveryDownloadWithIt) {
  for (int code : {404, 500}) {
    Reconfigure([code](DemoSiteOptions& o) { o.downloadStatus = code; });
    DownloadStatus status;
    const Bytes body = Download(site_.Url(DemoBookFilePath(Book("红楼梦"))), &status);
    EXPECT_EQ(status.httpStatus, code);
    EXPECT_NE(BytesView(body).find("<html>"), std::string::npos);
    EXPECT_EQ(ResultRows(Post(site_, SearchBody("梦"))).size(), 1u);  // pages still served
  }
}

TEST_F(DemoSiteTest, RedirectLoopNeverEnds) {
  Reconfigure([](DemoSiteOptions& o) { o.redirectLoop = true; });
  std::string location;
  FetchParams params;
  params.noRedirect = 1;
  params.location = &location;
  FetchText(site_.Url("/txt/1001.html?hop=7"), params);
  EXPECT_NE(location.find("/txt/1001.html?hop=8"), std::string::npos) << location;
  DownloadStatus status;
  Download(site_.Url(DemoBookFilePath(Book("红楼梦"))), &status);
  EXPECT_TRUE(status.transferFailed);
  EXPECT_EQ(Post(site_, SearchBody("梦")), "");
}

TEST_F(DemoSiteTest, HugeHeadersPassOneMebibyte) {
  Reconfigure([](DemoSiteOptions& o) { o.hugeHeaders = true; });
  const std::atomic<bool> stop{false};
  nf_test::Socket socket = nf_test::ConnectLoopback(site_.Port());
  ASSERT_TRUE(nf_test::SendAll(socket.Fd(), "GET /txt/1001.html HTTP/1.1\r\nHost: x\r\n\r\n"));
  const auto reply = nf_test::ReadHttpMessage(socket.Fd(), stop, false, std::chrono::seconds(5));
  ASSERT_TRUE(reply.has_value());
  EXPECT_GT(reply->head.size(), 1024u * 1024u);
  EXPECT_NE(reply->body.find("downAddress_li"), std::string::npos);
}

TEST_F(DemoSiteTest, InvalidUtf8PageStillGivesItsRows) {
  Reconfigure([](DemoSiteOptions& o) { o.invalidUtf8 = true; });
  FetchParams params;
  params.method = 1;
  const std::string body = SearchBody("梦");
  params.bodyText = body;
  const Bytes raw = FetchBytes(site_.Url(kSearchPath), params);
  EXPECT_NE(BytesView(raw).find('\xFF'), std::string::npos);
  const Rows rows = ResultRows(Post(site_, body));
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0][kColumnName], "红楼梦");
}

TEST_F(DemoSiteTest, ResultCountGivesThatManyRows) {
  for (int count : {0, 1, 500}) {
    Reconfigure([count](DemoSiteOptions& o) { o.searchResultCount = count; });
    EXPECT_EQ(ResultRows(Post(site_, SearchBody("梦"))).size(), static_cast<size_t>(count));
  }
}

TEST_F(DemoSiteTest, HostileNamesAreListedLinkedAndServed) {
  Reconfigure([](DemoSiteOptions& o) { o.hostileNames = true; });
  const Rows rows = ResultRows(Post(site_, SearchBody("evil")));
  std::vector<std::string> names;
  for (const auto& row : rows) names.push_back(row[kColumnName]);
  EXPECT_EQ(names, (std::vector<std::string>{"../../evil", "..\\..\\evil", "evil\r\nname"}));
  for (const DemoBook& book : books_) {
    if (std::stoi(book.pageId) < 9000) continue;  // the hostile books come last
    const std::string link = DownloadLink(site_, site_.Url("/txt/" + book.pageId + ".html"));
    EXPECT_EQ(link, site_.HostPort() + "/d/file/p/txt/2021/" + Gbk(book.name) + ".txt");
    DownloadStatus status;
    EXPECT_TRUE(Download(site_.Url(DemoBookFilePath(book)), &status) == DemoBookBytes(book));
  }
}

TEST_F(DemoSiteTest, SlowDownloadsTrickleWithProgress) {
  Reconfigure([](DemoSiteOptions& o) { o.downloadBytesPerSecond = 2000; });
  const DemoBook& book = Book("红楼梦");
  std::vector<std::uint64_t> received;
  DownloadStatus status;
  const auto start = Clock::now();
  const Bytes bytes =
      Download(site_.Url(DemoBookFilePath(book)), &status, [&](std::uint64_t got, std::uint64_t) {
        if (received.empty() || received.back() != got) received.push_back(got);
        return true;
      });
  EXPECT_TRUE(bytes == DemoBookBytes(book));
  EXPECT_GE(MillisecondsSince(start), static_cast<long long>(book.size * 1000 / 2000) - 150);
  EXPECT_GE(std::count_if(received.begin(), received.end(),
                          [&](std::uint64_t got) { return got > 0 && got < book.size; }),
            2);
}

TEST_F(DemoSiteTest, StopEndsATransferInProgress) {
  Reconfigure([](DemoSiteOptions& o) { o.downloadBytesPerSecond = 50; });
  const std::string address = site_.Url(DemoBookFilePath(Book("红楼梦")));
  std::promise<void> begun;
  auto download = std::async(std::launch::async, [&] {
    DownloadStatus status;
    bool announced = false;
    auto announce = [&] {
      if (!announced) begun.set_value();
      announced = true;
    };
    Download(address, &status, [&](std::uint64_t got, std::uint64_t) {
      if (got > 0) announce();
      return true;
    });
    announce();
    return status;
  });
  ASSERT_EQ(begun.get_future().wait_for(std::chrono::seconds(10)), std::future_status::ready);
  site_.Stop();
  EXPECT_EQ(site_.Port(), 0);
  ASSERT_EQ(download.wait_for(std::chrono::seconds(10)), std::future_status::ready);
  EXPECT_TRUE(download.get().transferFailed);
  EXPECT_TRUE(site_.Start());  // and it starts again
}

TEST_F(DemoSiteTest, SwitchesChangeSafelyWhileRequestsRun) {
  std::atomic<bool> done{false};
  std::vector<std::thread> clients;
  std::atomic<int> answered{0};
  for (int i = 0; i < 3; ++i) {
    clients.emplace_back([&] {
      for (int k = 0; k < 10; ++k) {
        Post(site_, SearchBody("梦"));
        ++answered;
      }
    });
  }
  for (int k = 0; !done && k < 200; ++k) {
    site_.SetEmptySearchAnswers(k % 3);
    site_.SetDelay(k % 2);
    done = answered == 30;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  for (auto& client : clients) client.join();
  EXPECT_EQ(site_.SearchPostCount(), 30);
  EXPECT_EQ(site_.SearchBodies().size(), 30u);
}

}  // namespace
