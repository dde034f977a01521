#include "web/fetch.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <optional>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/raw_http_server.h"
#include "tests/support/recording_proxy.h"
#include "tests/web/web_test_settings.h"

namespace {

using nf_test::CannedReply;
using nf_test::HttpResponse;
using nf_test::RawHttpServer;
using nf_test::RecordedRequest;

constexpr const char* kDefaultAgent =
    "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1; Zevk; .NET CLR 2.0.50727; .NET CLR "
    "3.0.04506.648; .NET CLR 3.5.21022)";
constexpr const char* kDefaultTail =
    "Accept: */*\r\nAccept-Language: zh-cn\r\nContent-Type: application/x-www-form-urlencoded";

std::string Text(const Bytes& bytes) { return std::string(BytesView(bytes)); }

// The whole head the server must receive: request line, Host, the agent field (when the
// headers hold no user-agent line), the header text line by line, and the body length.
std::string ExpectedHead(const std::string& requestLine, const RawHttpServer& server,
                         const std::optional<std::string>& agent, const std::string& headers,
                         std::optional<size_t> contentLength = std::nullopt) {
  std::string head = requestLine + "\r\nHost: " + server.HostPort() + "\r\n";
  if (agent) head += "User-Agent: " + *agent + "\r\n";
  head += headers + "\r\n";
  if (contentLength) head += "Content-Length: " + std::to_string(*contentLength) + "\r\n";
  return head + "\r\n";
}

class FetchTest : public ShortTimeouts {
 protected:
  // Output parameters, all reported.
  std::string cookies;
  std::string responseCookies = "stale";
  std::string headers;
  std::string location;
  std::string rawHeaders = "stale";
  Bytes bodyBytes;

  FetchParams Params(int method = 0, std::string_view bodyText = "") {
    FetchParams params;
    params.method = method;
    params.bodyText = bodyText;
    params.cookies = &cookies;
    params.responseCookies = &responseCookies;
    params.headers = &headers;
    params.location = &location;
    params.bodyBytes = &bodyBytes;
    params.rawHeaders = &rawHeaders;
    return params;
  }
};

TEST_F(FetchTest, EmptyHeadersAndCookiesSendTheDefaultLinesExactly) {
  RawHttpServer server(HttpResponse(200, "page"));
  const std::string url = server.Url("/a/b?c=D");
  EXPECT_EQ(Text(FetchBytes(url, Params())), "page");

  const std::string expectedHeaders = "Referer: " + url + "\r\n" + kDefaultTail;
  EXPECT_EQ(headers, expectedHeaders);
  ASSERT_EQ(server.RequestCount(), 1u);
  EXPECT_EQ(server.Requests()[0].Raw(),
            ExpectedHead("GET /a/b?c=D HTTP/1.1", server, kDefaultAgent, expectedHeaders));
  EXPECT_EQ(rawHeaders, "HTTP/1.1 200 OK\r\nContent-Length: 4\r\n\r\n");
  EXPECT_EQ(location, rawHeaders);
  EXPECT_EQ(responseCookies, "");
  EXPECT_EQ(cookies, "");
}

TEST_F(FetchTest, BytesAnAddressMayNotHoldAreEscapedInTheRequestLine) {
  RawHttpServer server(HttpResponse(200, "ok"));
  const std::string url = server.Url("/a b/书\t.txt?k=名");
  EXPECT_EQ(Text(FetchBytes(url, Params())), "ok");
  // "书" is CA E9 and "名" C3 FB in code page 936.
  EXPECT_EQ(server.Requests().at(0).RequestLine(), "GET /a%20b/%CA%E9%09.txt?k=%C3%FB HTTP/1.1");
  EXPECT_TRUE(headers.starts_with("Referer: " + url + "\r\n"));
}

TEST_F(FetchTest, LowerCaseUserAgentLineWithoutLineEndTravelsInsteadOfTheAgentField) {
  RawHttpServer server(HttpResponse(200, "ok"));
  const std::string url = server.Url("/");
  headers = "user-agent:   Reader/2.0 ";
  FetchBytes(url, Params());

  const std::string expectedHeaders =
      "user-agent:   Reader/2.0 \r\nReferer: " + url + "\r\n" + kDefaultTail;
  EXPECT_EQ(headers, expectedHeaders);
  const RecordedRequest request = server.Requests().at(0);
  EXPECT_EQ(request.Raw(), ExpectedHead("GET / HTTP/1.1", server, std::nullopt, expectedHeaders));
  EXPECT_EQ(request.HeaderCount("User-Agent"), 1);
  EXPECT_EQ(request.Header("User-Agent"), "Reader/2.0 ");
}

TEST_F(FetchTest, UserAgentLineFollowedByOthersIsTheOnlyAgentOnTheWire) {
  RawHttpServer server(HttpResponse(200, "ok"));
  headers = "User-Agent: Reader/3.0\r\nX-Extra: 1";
  FetchBytes(server.Url("/"), Params());
  const RecordedRequest request = server.Requests().at(0);
  EXPECT_EQ(request.HeaderCount("User-Agent"), 1);
  EXPECT_EQ(request.Header("User-Agent"), "Reader/3.0");
  EXPECT_EQ(request.Header("X-Extra"), "1");
}

TEST_F(FetchTest, LowerCaseRefererLineGetsASecondReferer) {
  RawHttpServer server(HttpResponse(200, "ok"));
  const std::string url = server.Url("/r");
  headers = "referer: http://before.example/";
  FetchBytes(url, Params());

  const std::string expectedHeaders =
      "referer: http://before.example/\r\nReferer: " + url + "\r\n" + kDefaultTail;
  EXPECT_EQ(headers, expectedHeaders);
  const RecordedRequest request = server.Requests().at(0);
  EXPECT_EQ(request.Raw(), ExpectedHead("GET /r HTTP/1.1", server, kDefaultAgent, expectedHeaders));
  EXPECT_EQ(request.HeaderCount("Referer"), 2);
}

TEST_F(FetchTest, ANameThatHoldsAcceptKeepsTheDefaultAndLibcurlsAcceptAway) {
  RawHttpServer server(HttpResponse(200, "ok"));
  headers = "X-Accept: 1";
  FetchBytes(server.Url("/"), Params());
  EXPECT_EQ(server.Requests().at(0).HeaderCount("Accept"), 0);
  EXPECT_EQ(headers.find("\r\nAccept: "), std::string::npos);
}

TEST_F(FetchTest, CallerLinesReplaceDefaultsAndBlankValuesStillTravel) {
  RawHttpServer server(HttpResponse(200, "ok"));
  headers = "Referer: http://mine/\r\nAccept: text/html\r\nContent-Type: text/plain\r\nX-Blank:";
  cookies = "a=1; b=2";
  FetchBytes(server.Url("/"), Params());

  const std::string expectedHeaders =
      "Referer: http://mine/\r\nAccept: text/html\r\nContent-Type: text/plain\r\nX-Blank:\r\n"
      "Accept-Language: zh-cn\r\nCookie: a=1; b=2";
  EXPECT_EQ(headers, expectedHeaders);
  EXPECT_EQ(server.Requests().at(0).Raw(),
            ExpectedHead("GET / HTTP/1.1", server, kDefaultAgent, expectedHeaders));
}

TEST_F(FetchTest, ALoneLineBreakInsideALineCannotAddALine) {
  RawHttpServer server(HttpResponse(200, "ok"));
  headers = "X-A: 1\rX-B: 2";
  cookies = "c=1\nX-C: 3";
  FetchBytes(server.Url("/"), Params());
  const RecordedRequest request = server.Requests().at(0);
  EXPECT_EQ(request.Header("X-A"), "1 X-B: 2");
  EXPECT_EQ(request.HeaderCount("X-B"), 0);
  EXPECT_EQ(request.HeaderCount("X-C"), 0);
}

struct MethodRow {
  const char* name;
  int method;
  std::string bodyText;
  Bytes bodyBytesBefore;
  const char* verb;
  std::optional<std::string> bodySent;  // nothing: no body and no Content-Length
  Bytes bodyBytesAfter;
};

void PrintTo(const MethodRow& row, std::ostream* out) { *out << row.name; }

const MethodRow kMethodRows[] = {
    {"GetIgnoresBodyText", 0, "x=1", {}, "GET", std::nullopt, {}},
    {"GetLeavesBodyBytes", 0, "", ToBytes("keep"), "GET", std::nullopt, ToBytes("keep")},
    {"PostSendsBodyText", 1, "x=1&y=2", {}, "POST", "x=1&y=2", ToBytes("x=1&y=2")},
    {"PostWithoutBodySendsLengthZero", 1, "", {}, "POST", "", {}},
    {"PostPrefersBodyBytes", 1, "ignored", ToBytes(std::string("a\0b", 3)), "POST",
     std::string("a\0b", 3), ToBytes(std::string("a\0b", 3))},
    {"GetWithBodyText", 2, "q=2", {}, "GET", "q=2", ToBytes("q=2")},
    {"GetWithEmptyBody", 2, "", {}, "GET", "", {}},
    {"AnyOtherMethodIsGetWithBody", 7, "z", {}, "GET", "z", ToBytes("z")},
    // Large enough that libcurl would ask for "Expect: 100-continue" if let.
    {"LargePostHasNoExpect",
     1,
     std::string(2 << 20, 'p'),
     {},
     "POST",
     std::string(2 << 20, 'p'),
     ToBytes(std::string(2 << 20, 'p'))},
};

class FetchMethods : public FetchTest, public testing::WithParamInterface<MethodRow> {};

TEST_P(FetchMethods, SendExactlyTheChosenVerbAndBody) {
  const MethodRow& row = GetParam();
  RawHttpServer server(HttpResponse(200, "ok"));
  const std::string url = server.Url("/m");
  bodyBytes = row.bodyBytesBefore;
  EXPECT_EQ(Text(FetchBytes(url, Params(row.method, row.bodyText))), "ok");

  const RecordedRequest request = server.Requests().at(0);
  std::optional<size_t> length;
  if (row.bodySent) length = row.bodySent->size();
  EXPECT_EQ(request.head, ExpectedHead(std::string(row.verb) + " /m HTTP/1.1", server,
                                       kDefaultAgent, headers, length));
  EXPECT_EQ(request.body, row.bodySent.value_or(""));
  EXPECT_EQ(bodyBytes, row.bodyBytesAfter);
}

INSTANTIATE_TEST_SUITE_P(Methods, FetchMethods, testing::ValuesIn(kMethodRows),
                         [](const auto& info) { return std::string(info.param.name); });

// "/start" redirects to "/final" and sets one cookie; "/final" sets two, one without ";".
CannedReply RedirectingSite(const RecordedRequest& request) {
  if (request.RequestLine().starts_with("GET /start ")) {
    return {HttpResponse(302, "moved", {"Location: /final", "Set-Cookie: r=1; path=/"})};
  }
  return {HttpResponse(
      200, "final page",
      {"Content-Location: /elsewhere", "Set-Cookie: s=2; Path=/; HttpOnly", "Set-Cookie: t = 3"})};
}

TEST_F(FetchTest, FollowsRedirectsAndReportsTheFinalResponse) {
  RawHttpServer server(RedirectingSite);
  cookies = "a=1; s=old";
  location = "";
  EXPECT_EQ(Text(FetchBytes(server.Url("/start"), Params())), "final page");

  ASSERT_EQ(server.RequestCount(), 2u);
  EXPECT_EQ(server.Requests()[1].RequestLine(), "GET /final HTTP/1.1");
  EXPECT_TRUE(rawHeaders.starts_with("HTTP/1.1 200 OK\r\n")) << rawHeaders;
  EXPECT_TRUE(rawHeaders.ends_with("\r\n\r\n"));
  EXPECT_EQ(rawHeaders.find("302"), std::string::npos);
  EXPECT_EQ(location, rawHeaders);  // no location line; Content-Location does not count
  EXPECT_EQ(responseCookies, "s=2;t=3");
  EXPECT_EQ(cookies, "s=2; t=3; a=1");
}

TEST_F(FetchTest, ARedirectLoopEndsAfterTheRedirectLimit) {
  WebSettings settings = Settings();
  settings.maxRedirects = 3;
  SetWebSettings(settings);
  RawHttpServer server(HttpResponse(302, "again", {"Location: /loop"}));
  EXPECT_TRUE(FetchBytes(server.Url("/loop"), Params()).empty());
  EXPECT_EQ(server.RequestCount(), 4u);
  EXPECT_EQ(rawHeaders, "");
}

TEST_F(FetchTest, NoRedirectReportsTheRedirectItself) {
  RawHttpServer server(RedirectingSite);
  FetchParams params = Params();
  params.noRedirect = 1;
  EXPECT_EQ(Text(FetchBytes(server.Url("/start"), params)), "moved");
  EXPECT_EQ(server.RequestCount(), 1u);
  EXPECT_EQ(location, "/final");
  EXPECT_EQ(responseCookies, "r=1");
  EXPECT_EQ(cookies, "r=1");
  EXPECT_TRUE(rawHeaders.starts_with("HTTP/1.1 302 Found\r\n"));
}

TEST_F(FetchTest, ReadsHeaderBlocksLargerThanFiveThousandBytes) {
  RawHttpServer server(HttpResponse(
      302, "big", {"X-Filler: " + std::string(8000, 'f'), "Location: /far", "Set-Cookie: k=v"}));
  FetchParams params = Params();
  params.noRedirect = 1;
  EXPECT_EQ(Text(FetchBytes(server.Url("/"), params)), "big");
  EXPECT_GT(rawHeaders.size(), 8000u);
  EXPECT_EQ(location, "/far");
  EXPECT_EQ(responseCookies, "k=v");
}

// libcurl may refuse such a block itself (current builds stop at 300 KB) before our own
// 1 MiB cap is reached; either way the transfer fails and nothing is half-reported.
TEST_F(FetchTest, AHeaderBlockPastTheCapFailsTheTransfer) {
  std::vector<std::string> lines;
  for (int i = 0; i < 1200; ++i)
    lines.push_back("X-Filler-" + std::to_string(i) + ": " + std::string(1000, 'f'));
  RawHttpServer server(HttpResponse(200, "body", lines));
  cookies = "a=1; b=deleted";
  EXPECT_TRUE(FetchBytes(server.Url("/"), Params()).empty());
  EXPECT_EQ(rawHeaders, "");
  EXPECT_EQ(location, "");
  EXPECT_EQ(responseCookies, "");
  EXPECT_EQ(cookies, "a=1");
}

TEST_F(FetchTest, DecodesAUtf8Page) {
  // "中文页" in UTF-8 on the wire, code page 936 in the result.
  RawHttpServer server(HttpResponse(200, "\xE4\xB8\xAD\xE6\x96\x87\xE9\xA1\xB5"));
  EXPECT_EQ(FetchText(server.Url("/")), "中文页");
}

TEST_F(FetchTest, ARefusedConnectionGivesTheFailureResult) {
  nf_test::RefusingPort port;
  cookies = "a = 1; x=deleted";
  headers = "X-Mine: 1";
  location = "";
  EXPECT_TRUE(FetchBytes(port.Url("/"), Params(1, "b=2")).empty());
  EXPECT_EQ(rawHeaders, "");
  EXPECT_EQ(location, "");
  EXPECT_EQ(responseCookies, "");
  EXPECT_EQ(cookies, "a=1");
  EXPECT_TRUE(headers.starts_with("X-Mine: 1\r\nReferer: "));
  EXPECT_EQ(bodyBytes, ToBytes("b=2"));
}

struct StallRow {
  const char* name;
  CannedReply reply;
};

void PrintTo(const StallRow& row, std::ostream* out) { *out << row.name; }

const StallRow kStallRows[] = {
    {"NoAnswer", {"", {}, CannedReply::Then::kHold}},
    {"MidBody",
     {"HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\nhalf", {}, CannedReply::Then::kHold}},
};

class FetchStalls : public FetchTest, public testing::WithParamInterface<StallRow> {};

TEST_P(FetchStalls, EndWithTheFailureResultAfterTheStallTime) {
  SetWebSettings(Settings(300));
  RawHttpServer server([reply = GetParam().reply](const RecordedRequest&) { return reply; });
  const auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(FetchBytes(server.Url("/"), Params()).empty());
  const auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_GE(elapsed, std::chrono::milliseconds(250));
  EXPECT_LT(elapsed, std::chrono::seconds(10));
  EXPECT_EQ(rawHeaders, "");
}

INSTANTIATE_TEST_SUITE_P(Stalls, FetchStalls, testing::ValuesIn(kStallRows),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(FetchTest, AbortFromAnotherThreadEndsTheTransfer) {
  SetWebSettings(Settings(60'000));
  RawHttpServer server(CannedReply{"", {}, CannedReply::Then::kHold});
  std::atomic<bool> abort{false};
  std::thread aborter([&abort] {
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    abort = true;
  });
  FetchParams params = Params();
  params.abort = &abort;
  const auto start = std::chrono::steady_clock::now();
  const Bytes body = FetchBytes(server.Url("/"), params);
  const auto elapsed = std::chrono::steady_clock::now() - start;
  aborter.join();
  EXPECT_TRUE(body.empty());
  EXPECT_LT(elapsed, std::chrono::seconds(10));
  EXPECT_EQ(server.RequestCount(), 1u);
}

TEST_F(FetchTest, AProxyCarriesPlainHttpRequests) {
  RawHttpServer origin(HttpResponse(200, "via proxy"));
  nf_test::RecordingProxy proxy;
  const std::string url = origin.Url("/p?q=1");
  FetchParams params = Params();
  params.proxy = proxy.HostPort();
  EXPECT_EQ(Text(FetchBytes(url, params)), "via proxy");

  ASSERT_EQ(proxy.RequestCount(), 1u);
  const RecordedRequest seen = proxy.Requests()[0];
  EXPECT_EQ(seen.RequestLine(), "GET " + url + " HTTP/1.1");
  EXPECT_EQ(seen.head.substr(seen.RequestLine().size()),
            ExpectedHead("", origin, kDefaultAgent, headers));
  EXPECT_EQ(origin.RequestCount(), 1u);
}

TEST_F(FetchTest, AnEmptyProxyMeansDirect) {
  RawHttpServer origin(HttpResponse(200, "direct"));
  nf_test::RecordingProxy unused;
  FetchParams params = Params();
  params.proxy = "";
  EXPECT_EQ(Text(FetchBytes(origin.Url("/"), params)), "direct");
  EXPECT_EQ(origin.Requests().at(0).RequestLine(), "GET / HTTP/1.1");
  EXPECT_EQ(unused.RequestCount(), 0u);
}

TEST_F(FetchTest, CallsOnSeveralThreadsAtOnceStayApart) {
  RawHttpServer server([](const RecordedRequest& request) {
    const std::string line = request.RequestLine();
    const std::string path = line.substr(4, line.find(' ', 4) - 4);
    return CannedReply{HttpResponse(200, "page " + path, {"Set-Cookie: p=" + path.substr(1)})};
  });
  constexpr int kThreads = 8;
  constexpr int kCallsEach = 6;
  std::vector<std::string> failures(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < kCallsEach; ++i) {
        const std::string id = std::to_string(t) + "-" + std::to_string(i);
        std::string threadCookies = "own=" + id;
        FetchParams params;
        params.cookies = &threadCookies;
        const std::string page = FetchText(server.Url("/" + id), params);
        if (page != "page /" + id || threadCookies != "p=" + id + "; own=" + id) {
          failures[t] += id + ": " + page + " / " + threadCookies + "\n";
        }
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (const std::string& failure : failures) EXPECT_EQ(failure, "");
  EXPECT_EQ(server.RequestCount(), static_cast<size_t>(kThreads * kCallsEach));
}

}  // namespace
