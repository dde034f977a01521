#include "web/url_parts.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

struct UrlRow {
  const char* url;
  const char* host;
  const char* hostWithPort;
  const char* domain;
  int port;
  const char* path;
};

// The worked examples; the last row is the sound reading of a scheme-less address whose query
// holds "http://": its own host, its own path.
void PrintTo(const UrlRow& row, std::ostream* out) { *out << '"' << row.url << '"'; }

const UrlRow kRows[] = {
    {"http://web.example.org/a/b?c=D", "web.example.org", "web.example.org", "example.org", 80,
     "/a/b?c=D"},
    {"HTTP://WEB.Example.ORG:8080/Path", "web.example.org", "web.example.org:8080", "example.org",
     8080, "/Path"},
    {"web.example.org", "web.example.org", "web.example.org", "example.org", 80, "/"},
    {"https://example.org", "example.org", "example.org", "example.org", 443, "/"},
    {"https://example.org:8443/x", "example.org", "example.org:8443", "example.org", 8443, "/x"},
    {"http://example.org:/x", "example.org", "example.org:", "example.org", 0, "/x"},
    {"example.org/go?u=http://other.example.net/", "example.org", "example.org", "example.org", 80,
     "/go?u=http://other.example.net/"},
    {"", "", "", "", 80, "/"},
    {"HTTPS://Example.org/Secure", "example.org", "example.org", "example.org", 443, "/Secure"},
    {"http://10.1.2.3:81/", "10.1.2.3", "10.1.2.3:81", "2.3", 81, "/"},
    // A host that also occurs inside the scheme is looked for after it.
    {"http://h/p", "h", "h", "h", 80, "/p"},
    {"https://s:99/q", "s", "s:99", "s", 99, "/q"},
};

class UrlPartsTable : public testing::TestWithParam<UrlRow> {};

TEST_P(UrlPartsTable, DissectsTheAddress) {
  const UrlRow& row = GetParam();
  EXPECT_EQ(UrlHost(row.url), row.host);
  EXPECT_EQ(UrlHost(row.url, false, true), row.hostWithPort);
  EXPECT_EQ(UrlHost(row.url, true), row.domain);
  EXPECT_EQ(UrlPort(row.url), row.port);
  EXPECT_EQ(UrlPath(row.url), row.path);
}

INSTANTIATE_TEST_SUITE_P(WorkedExamples, UrlPartsTable, testing::ValuesIn(kRows));

TEST(UrlParts, ReducesBeforeCuttingThePort) {
  EXPECT_EQ(UrlHost("http://web.example.org:8080/", true, true), "example.org:8080");
  EXPECT_EQ(UrlHost("http://web.example.org:8080/", true, false), "example.org");
}

TEST(UrlParts, PortReadsDigitsUpToTheFirstOtherCharacter) {
  EXPECT_EQ(UrlPort("http://example.org:80abc/"), 80);
  EXPECT_EQ(UrlPort("http://example.org:abc/"), 0);
  EXPECT_EQ(UrlPort("http://example.org:99999999999999/"), 2147483647);
}

TEST(UrlParts, PathKeepsItsOwnLetterCaseAndQuery) {
  EXPECT_EQ(UrlPath("HTTP://Example.ORG/Dir/File.TXT?Q=A&b=C"), "/Dir/File.TXT?Q=A&b=C");
}

}  // namespace
