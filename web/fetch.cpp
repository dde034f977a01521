#include "web/fetch.h"

#include <algorithm>
#include <new>

#include "text/code_page.h"
#include "text/extract_between.h"
#include "text/text_find.h"
#include "text/text_helpers.h"
#include "web/cookies.h"
#include "web/curl_transfer.h"
#include "web/header_scan.h"
#include "web/url_parts.h"

namespace {

constexpr std::string_view kDefaultAgent =
    "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1; Zevk; .NET CLR 2.0.50727; .NET CLR "
    "3.0.04506.648; .NET CLR 3.5.21022)";
constexpr std::string_view kLineEnd = "\r\n";

// A blank marker of this form keeps libcurl's own line of that name off the wire.
constexpr const char* kSuppressedCurlHeaders[] = {"Accept:", "Expect:", "Proxy-Connection:"};

bool IsHttps(std::string_view url) { return TextLower(url.substr(0, 5)) == "https"; }

// The agent named by a user-agent line in `headers`, else the default one. The fallback reads
// the rest of the whole header text, so it is cut at its first line break.
std::string ChooseAgent(std::string_view headers) {
  if (TextFind(headers, "User-Agent:", 1, true) == -1) return std::string(kDefaultAgent);
  std::string agent = TextTrim(ExtractBetween(headers, "User-Agent:", kLineEnd));
  if (agent.empty()) agent = TextAfterColon(headers);
  return agent.substr(0, agent.find_first_of("\r\n"));
}

// The default lines the caller did not write (exact-case name tests), appended in order.
void AddDefaultHeaders(std::string& headers, std::string_view url, std::string_view cookies) {
  const auto addLine = [&headers](std::string_view line) {
    if (!headers.empty()) headers.append(kLineEnd);
    headers.append(line);
  };
  if (TextFind(headers, "Referer:") == -1) addLine("Referer: " + std::string(url));
  if (TextFind(headers, "Accept:") == -1) addLine("Accept: */*");
  if (TextFind(headers, "Accept-Language:") == -1) addLine("Accept-Language: zh-cn");
  if (TextFind(headers, "Content-Type:") == -1) {
    addLine("Content-Type: application/x-www-form-urlencoded");
  }
  if (!cookies.empty()) addLine("Cookie: " + std::string(cookies));
}

// The line as libcurl must be given it. A blank value is written "Name;", or libcurl would
// drop the line; a lone CR or LF inside a line (say from a cookie a server set) becomes a
// space, so that no text can smuggle a line of its own onto the wire.
std::string ForCurl(std::string line) {
  std::replace_if(
      line.begin(), line.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
  const int colon = TextFind(line, ":");
  if (colon == -1 || !TextTrim(std::string_view(line).substr(static_cast<size_t>(colon))).empty()) {
    return line;
  }
  return line.substr(0, static_cast<size_t>(colon - 1)) + ";";
}

// Every line of `headers` in its order, then the markers that silence libcurl's own lines.
// Null only when libcurl runs out of memory: the markers keep a good list from being empty.
CurlSlist HeaderList(std::string_view headers) {
  CurlSlist list;
  for (const std::string& line : TextSplit(headers, kLineEnd)) {
    if (!line.empty() && !AppendHeader(list, ForCurl(line))) return nullptr;
  }
  for (const char* marker : kSuppressedCurlHeaders) {
    if (!AppendHeader(list, marker)) return nullptr;
  }
  return list;
}

// The address libcurl is given: scheme, the dissected host and port, and the path as the
// request line carries it.
std::string CurlUrl(std::string_view url) {
  const std::string scheme = IsHttps(url) ? "https://" : "http://";
  return scheme + UrlHost(url) + ":" + std::to_string(UrlPort(url)) +
         EscapeForRequestLine(UrlPath(url));
}

std::string ProxyAddress(const std::string& proxy) {
  return TextFind(proxy, "://") == -1 ? "http://" + proxy : proxy;
}

// Callbacks never throw into libcurl: running out of memory ends the transfer instead.
size_t CollectBody(char* data, size_t size, size_t count, void* sink) {
  try {
    auto* body = static_cast<Bytes*>(sink);
    body->insert(body->end(), data, data + size * count);
    return size * count;
  } catch (const std::bad_alloc&) {
    return 0;
  }
}

size_t CollectHeaderLine(char* data, size_t size, size_t count, void* sink) {
  try {
    return static_cast<RawHeaderBlock*>(sink)->AddLine({data, size * count}) ? size * count : 0;
  } catch (const std::bad_alloc&) {
    return 0;
  }
}

// Verb and body. Any non-zero method sends a body, written back into `bodyBytes` when it
// came from `bodyText`; 2 and above keep the verb GET.
void SetMethodAndBody(CURL* easy, int method, std::string_view bodyText, Bytes& bodyBytes) {
  if (method == 0) {
    curl_easy_setopt(easy, CURLOPT_HTTPGET, 1L);
    return;
  }
  if (bodyBytes.empty()) bodyBytes = ToBytes(bodyText);
  static const char kNoBody[] = "";
  const char* data = bodyBytes.empty() ? kNoBody : reinterpret_cast<const char*>(bodyBytes.data());
  curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(bodyBytes.size()));
  curl_easy_setopt(easy, CURLOPT_POSTFIELDS, data);
  if (method != 1) curl_easy_setopt(easy, CURLOPT_CUSTOMREQUEST, "GET");
}

// A supplied, non-empty proxy serves plain-HTTP requests only. A redirect from such a request
// may then lead to http only, so that no https request is sent through the proxy.
void SetProxy(CURL* easy, std::string_view url, const std::optional<std::string>& proxy) {
  if (!proxy || proxy->empty() || IsHttps(url)) return;
  curl_easy_setopt(easy, CURLOPT_PROXY, ProxyAddress(*proxy).c_str());
  curl_easy_setopt(easy, CURLOPT_NOPROXY, "");
  curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http");
}

// Out-parameters the caller did not ask for still take part in the scan and the merge.
struct Outputs {
  std::string cookies;
  std::string responseCookies;
  std::string headers;
  std::string location;
  Bytes bodyBytes;
};

template <typename T>
T& Pick(T* supplied, T& local) {
  return supplied != nullptr ? *supplied : local;
}

}  // namespace

Bytes FetchBytes(std::string_view url, const FetchParams& params) {
  const WebSettings settings = CurrentWebSettings();
  Outputs local;
  std::string& headers = Pick(params.headers, local.headers);
  const std::string agent = ChooseAgent(headers);

  CurlEasy easy = NewTransfer(settings);
  if (!easy) return {};
  CURL* handle = easy.get();

  std::string& cookies = Pick(params.cookies, local.cookies);
  Bytes& bodyBytes = Pick(params.bodyBytes, local.bodyBytes);
  AddDefaultHeaders(headers, url, cookies);
  const CurlSlist headerList = HeaderList(headers);
  if (!headerList) return {};

  // libcurl leaves out its own User-Agent line when `headers` holds one, so that line travels
  // instead of the agent field and the wire never carries two.
  const std::string curlUrl = CurlUrl(url);
  curl_easy_setopt(handle, CURLOPT_URL, curlUrl.c_str());
  curl_easy_setopt(handle, CURLOPT_PATH_AS_IS, 1L);
  curl_easy_setopt(handle, CURLOPT_USERAGENT, agent.c_str());
  curl_easy_setopt(handle, CURLOPT_HTTPHEADER, headerList.get());
  curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, params.noRedirect == 0 ? 1L : 0L);
  SetProxy(handle, url, params.proxy);
  SetMethodAndBody(handle, params.method, params.bodyText, bodyBytes);

  Bytes body;
  RawHeaderBlock block;
  curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, CollectBody);
  curl_easy_setopt(handle, CURLOPT_WRITEDATA, &body);
  curl_easy_setopt(handle, CURLOPT_HEADERFUNCTION, CollectHeaderLine);
  curl_easy_setopt(handle, CURLOPT_HEADERDATA, &block);
  const bool ok = RunTransfer(handle, settings.stallTimeoutMs, params.abort).code == CURLE_OK;
  easy.reset();

  const std::string rawHeaders = ok ? block.Text() : std::string();
  std::string& responseCookies = Pick(params.responseCookies, local.responseCookies);
  ScanResponseHeaders(rawHeaders, Pick(params.location, local.location), responseCookies);
  MergeCookies(cookies, responseCookies);
  if (params.rawHeaders != nullptr) *params.rawHeaders = rawHeaders;
  if (!ok) return {};
  return body;
}

std::string FetchText(std::string_view url, const FetchParams& params) {
  return Utf8ToGbk(FetchBytes(url, params));
}
