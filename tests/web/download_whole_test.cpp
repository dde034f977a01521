#include "web/download_whole.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/raw_http_server.h"
#include "tests/web/web_test_settings.h"

namespace {

using nf_test::CannedReply;
using nf_test::HttpResponse;
using nf_test::RawHttpServer;
using nf_test::RecordedRequest;

std::string Text(const Bytes& bytes) { return std::string(BytesView(bytes)); }

// Every byte value, over and over, with a twist so that no two megabytes are alike.
std::string BinaryBody(size_t size) {
  std::string body(size, '\0');
  for (size_t i = 0; i < size; ++i) body[i] = static_cast<char>((i * 7 + i / 65536) & 0xFF);
  return body;
}

class DownloadWholeTest : public ShortTimeouts {};

TEST_F(DownloadWholeTest, ReturnsTwentyMegabytesExactlyAndReportsProgress) {
  const std::string served = BinaryBody(20u << 20);
  RawHttpServer server(HttpResponse(200, served));
  std::string address = server.Url("/big.bin");
  std::vector<std::pair<std::uint64_t, std::uint64_t>> calls;
  DownloadStatus status;
  const Bytes body =
      DownloadWhole(address, &status, [&calls](std::uint64_t got, std::uint64_t all) {
        calls.emplace_back(got, all);
        return true;
      });

  ASSERT_EQ(body.size(), served.size());
  EXPECT_TRUE(Text(body) == served);
  EXPECT_EQ(status.httpStatus, 200);
  EXPECT_FALSE(status.transferFailed);
  EXPECT_EQ(status.error, "");
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls.back(),
            std::make_pair(std::uint64_t{served.size()}, std::uint64_t{served.size()}));
  for (size_t i = 1; i < calls.size(); ++i) EXPECT_LT(calls[i - 1].first, calls[i].first);
}

TEST_F(DownloadWholeTest, SendsOneGetWithNoHeaderOfItsOwn) {
  RawHttpServer server(HttpResponse(200, "text"));
  std::string address = server.Url("/d/file.txt?v=1");
  EXPECT_EQ(Text(DownloadWhole(address)), "text");
  ASSERT_EQ(server.RequestCount(), 1u);
  EXPECT_EQ(server.Requests()[0].Raw(),
            "GET /d/file.txt?v=1 HTTP/1.1\r\nHost: " + server.HostPort() + "\r\n\r\n");
}

TEST_F(DownloadWholeTest, BytesAnAddressMayNotHoldAreEscapedInTheRequestLine) {
  RawHttpServer server(HttpResponse(200, "text"));
  std::string address = server.Url("/d/书 名.txt");
  const std::string given = address;
  EXPECT_EQ(Text(DownloadWhole(address)), "text");
  EXPECT_EQ(address, given);
  EXPECT_EQ(server.Requests().at(0).RequestLine(), "GET /d/%CA%E9%20%C3%FB.txt HTTP/1.1");
}

struct AddressRow {
  const char* name;
  std::string prefix;       // put before "127.0.0.1:<port>/f"
  std::string addedPrefix;  // what DownloadWhole puts in front
};

void PrintTo(const AddressRow& row, std::ostream* out) { *out << row.name; }

const AddressRow kAddressRows[] = {
    {"NoScheme", "", "http://"},
    {"Http", "http://", ""},
    {"CapitalHttp", "HTTP://", ""},
    {"MixedCaseHttp", "hTtP://", ""},
};

class DownloadAddresses : public DownloadWholeTest,
                          public testing::WithParamInterface<AddressRow> {};

TEST_P(DownloadAddresses, GetTheSchemeOnlyWhenTheyLackOne) {
  RawHttpServer server(HttpResponse(200, "book"));
  const std::string given = GetParam().prefix + server.HostPort() + "/f";
  std::string address = given;
  EXPECT_EQ(Text(DownloadWhole(address)), "book");
  EXPECT_EQ(address, GetParam().addedPrefix + given);
}

INSTANTIATE_TEST_SUITE_P(Schemes, DownloadAddresses, testing::ValuesIn(kAddressRows),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DownloadWholeTest, AnErrorStatusStillYieldsItsBody) {
  RawHttpServer server(HttpResponse(404, "no such book"));
  std::string address = server.Url("/missing.txt");
  DownloadStatus status;
  EXPECT_EQ(Text(DownloadWhole(address, &status)), "no such book");
  EXPECT_EQ(status.httpStatus, 404);
  EXPECT_FALSE(status.transferFailed);
}

TEST_F(DownloadWholeTest, FollowsRedirects) {
  RawHttpServer server([](const RecordedRequest& request) {
    if (request.RequestLine().starts_with("GET /old ")) {
      return CannedReply{HttpResponse(301, "moved away", {"Location: /new"})};
    }
    return CannedReply{HttpResponse(200, "new home")};
  });
  std::string address = server.Url("/old");
  std::vector<std::uint64_t> received;
  DownloadStatus status;
  EXPECT_EQ(Text(DownloadWhole(address, &status,
                               [&received](std::uint64_t got, std::uint64_t) {
                                 received.push_back(got);
                                 return true;
                               })),
            "new home");
  EXPECT_EQ(status.httpStatus, 200);
  EXPECT_EQ(received.back(), 8u);
  EXPECT_EQ(server.RequestCount(), 2u);
}

TEST_F(DownloadWholeTest, AShortBodyIsATransferFailure) {
  RawHttpServer server("HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\n" + std::string(500, 'x'));
  std::string address = server.Url("/cut.txt");
  DownloadStatus status;
  EXPECT_TRUE(DownloadWhole(address, &status).empty());
  EXPECT_TRUE(status.transferFailed);
  EXPECT_EQ(status.httpStatus, 200);
  EXPECT_NE(status.error, "");
}

TEST_F(DownloadWholeTest, ProgressReturningFalseAbortsTheTransfer) {
  RawHttpServer server(HttpResponse(200, std::string(1 << 20, 'y')));
  std::string address = server.Url("/");
  DownloadStatus status;
  EXPECT_TRUE(
      DownloadWhole(address, &status, [](std::uint64_t, std::uint64_t) { return false; }).empty());
  EXPECT_TRUE(status.transferFailed);
}

TEST_F(DownloadWholeTest, ARefusedConnectionIsATransferFailure) {
  nf_test::RefusingPort port;
  std::string address = port.Url("/");
  DownloadStatus status;
  EXPECT_TRUE(DownloadWhole(address, &status).empty());
  EXPECT_TRUE(status.transferFailed);
  EXPECT_EQ(status.httpStatus, 0);
  EXPECT_NE(status.error, "");
}

TEST_F(DownloadWholeTest, AStallEndsTheTransferWithinTheStallTime) {
  SetWebSettings(Settings(300));
  RawHttpServer server(CannedReply{
      "HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\nabc", {}, CannedReply::Then::kHold});
  std::string address = server.Url("/");
  DownloadStatus status;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(DownloadWhole(address, &status).empty());
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
  EXPECT_TRUE(status.transferFailed);
}

}  // namespace
