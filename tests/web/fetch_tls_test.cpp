// HTTPS against a local TLS server whose certificate the test CA signed; the CA file reaches
// the transfers through the settings.

#include <gtest/gtest.h>

#include <string>

#include "tests/support/raw_http_server.h"
#include "tests/support/recording_proxy.h"
#include "tests/support/tls_http_server.h"
#include "tests/web/web_test_settings.h"
#include "web/download_whole.h"
#include "web/fetch.h"
#include "web/url_parts.h"

namespace {

const std::string kDataDir = NF_WEB_TEST_DATA;

std::string Header(const nf_test::TlsRequest& request, const std::string& name) {
  for (const auto& [key, value] : request.headers) {
    if (key == name) return value;
  }
  return "";
}

class TlsTest : public ShortTimeouts {
 protected:
  nf_test::TlsHttpServer server{kDataDir + "/server_cert.pem", kDataDir + "/server_key.pem",
                                "secret page"};

  void SetUp() override {
    ShortTimeouts::SetUp();
    ASSERT_TRUE(server.Running());
    WebSettings settings = Settings();
    settings.caFile = kDataDir + "/test_ca.pem";
    SetWebSettings(settings);
  }

  std::string Url(const std::string& scheme, const std::string& path) const {
    return scheme + "://127.0.0.1:" + std::to_string(server.Port()) + path;
  }
};

TEST_F(TlsTest, CapitalSchemeMeansTlsOnPort443ByDefault) {
  EXPECT_EQ(UrlPort("HTTPS://example.org/x"), 443);
  EXPECT_EQ(UrlPort("HtTpS://example.org"), 443);
}

TEST_F(TlsTest, CapitalSchemeWithExplicitPortTalksTls) {
  const std::string url = Url("HTTPS", "/secure?x=1");
  std::string headers;
  FetchParams params;
  params.headers = &headers;
  EXPECT_EQ(FetchText(url, params), "secret page");

  ASSERT_EQ(server.Requests().size(), 1u);
  const nf_test::TlsRequest request = server.Requests()[0];
  EXPECT_EQ(request.method, "GET");
  EXPECT_EQ(request.target, "/secure?x=1");
  EXPECT_EQ(Header(request, "Referer"), url);
  EXPECT_TRUE(Header(request, "User-Agent").starts_with("Mozilla/4.0 (compatible; MSIE 9.0;"));
  EXPECT_EQ(Header(request, "Accept-Language"), "zh-cn");
}

TEST_F(TlsTest, PostOverTls) {
  FetchParams params;
  params.method = 1;
  params.bodyText = "k=v";
  EXPECT_EQ(FetchText(Url("https", "/form"), params), "secret page");
  ASSERT_EQ(server.Requests().size(), 1u);
  EXPECT_EQ(server.Requests()[0].method, "POST");
  EXPECT_EQ(server.Requests()[0].body, "k=v");
}

TEST_F(TlsTest, WithoutTheCaFileTheCertificateIsRefused) {
  SetWebSettings(Settings());
  EXPECT_EQ(FetchText(Url("https", "/")), "");
  EXPECT_TRUE(server.Requests().empty());
}

TEST_F(TlsTest, PlainHttpMayBeRedirectedToHttps) {
  nf_test::RawHttpServer plain(
      nf_test::HttpResponse(302, "", {"Location: " + Url("https", "/moved")}));
  EXPECT_EQ(FetchText(plain.Url("/")), "secret page");
  ASSERT_EQ(server.Requests().size(), 1u);
  EXPECT_EQ(server.Requests()[0].target, "/moved");
}

TEST_F(TlsTest, AProxyIsNotUsedForHttps) {
  nf_test::RecordingProxy proxy;
  FetchParams params;
  params.proxy = proxy.HostPort();
  EXPECT_EQ(FetchText(Url("https", "/"), params), "secret page");
  EXPECT_EQ(proxy.RequestCount(), 0u);
}

// The proxy serves plain HTTP only, so a proxied request may not be led to https: the call
// fails rather than send the https request through the proxy.
TEST_F(TlsTest, AProxiedRequestIsNotRedirectedToHttps) {
  nf_test::RawHttpServer plain(
      nf_test::HttpResponse(302, "", {"Location: " + Url("https", "/moved")}));
  nf_test::RecordingProxy proxy;
  FetchParams params;
  params.proxy = proxy.HostPort();
  EXPECT_EQ(FetchText(plain.Url("/"), params), "");
  EXPECT_EQ(proxy.RequestCount(), 1u);
  EXPECT_TRUE(server.Requests().empty());
}

TEST_F(TlsTest, DownloadWholeUsesAnHttpsAddressUnchanged) {
  std::string address = Url("https", "/book.txt");
  const std::string before = address;
  DownloadStatus status;
  const Bytes body = DownloadWhole(address, &status);
  EXPECT_EQ(std::string(BytesView(body)), "secret page");
  EXPECT_EQ(address, before);
  EXPECT_EQ(status.httpStatus, 200);
  EXPECT_FALSE(status.transferFailed);
}

}  // namespace
