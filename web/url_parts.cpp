#include "web/url_parts.h"

#include <climits>

#include "text/extract_between.h"
#include "text/text_find.h"
#include "text/text_helpers.h"

namespace {

constexpr std::string_view kHttp = "http://";
constexpr std::string_view kHttps = "https://";

bool IsHttps(std::string_view url) { return TextLower(url.substr(0, 5)) == "https"; }

// The last two dot-separated pieces of `host`, when it has more than one.
std::string ReduceToDomain(const std::string& host) {
  const std::vector<std::string> pieces = TextSplit(host, ".");
  if (pieces.size() < 2) return host;
  return pieces[pieces.size() - 2] + "." + pieces.back();
}

// Where the host may start in `url`: after its scheme, so that a host that also occurs inside
// the scheme ("http://h/") is not found there.
int HostSearchStart(std::string_view url) {
  const std::string lower = TextLower(url.substr(0, kHttps.size()));
  if (lower.starts_with(kHttps)) return static_cast<int>(kHttps.size()) + 1;
  if (lower.starts_with(kHttp)) return static_cast<int>(kHttp.size()) + 1;
  return 1;
}

}  // namespace

std::string UrlHost(std::string_view url, bool reduceToDomain, bool keepPort) {
  std::string text = TextLower(url);
  if (text.empty() || text.back() != '/') text += '/';
  std::string host;
  if (text.starts_with(kHttps)) {
    host = ExtractBetween(text, kHttps, "/");
  } else {
    // A scheme-less address names its own host, even when its query holds "http://".
    if (!text.starts_with(kHttp)) text.insert(0, kHttp);
    host = ExtractBetween(text, kHttp, "/");
  }
  if (reduceToDomain) host = ReduceToDomain(host);
  if (!keepPort) {
    const int colon = TextFind(host, ":");
    if (colon != -1) host.resize(static_cast<size_t>(colon - 1));
  }
  return host;
}

int UrlPort(std::string_view url) {
  const std::string host = UrlHost(url, false, true);
  const size_t colon = host.rfind(':');  // ':' is never the second byte of a character
  if (colon == std::string::npos) return IsHttps(url) ? 443 : 80;
  const long long port = TextToInt(std::string_view(host).substr(colon + 1));
  if (port > INT_MAX) return INT_MAX;
  if (port < INT_MIN) return INT_MIN;
  return static_cast<int>(port);
}

std::string UrlPath(std::string_view url) {
  const std::string host = UrlHost(url);
  const int hostPosition = TextFind(url, host, HostSearchStart(url), true);
  const int slash = TextFind(url, "/", hostPosition == -1 ? 1 : hostPosition);
  if (slash == -1) return "/";
  return std::string(url.substr(static_cast<size_t>(slash - 1)));
}
