#include "web/cookies.h"

#include <algorithm>

#include "text/text_find.h"
#include "text/text_helpers.h"

namespace {

constexpr std::string_view kDeletedValue = "=deleted";
constexpr std::string_view kJoin = "; ";

}  // namespace

std::string CookieName(std::string_view piece) {
  const int equals = TextFind(piece, "=");
  return TextTrim(equals == -1 ? piece : piece.substr(0, static_cast<size_t>(equals - 1)));
}

bool HasCookieName(const std::vector<std::string>& pieces, std::string_view name) {
  return std::any_of(pieces.begin(), pieces.end(),
                     [name](const std::string& piece) { return CookieName(piece) == name; });
}

std::string MergeCookies(std::string& cookies, std::string& responseCookies) {
  cookies = TextRemoveSpaces(cookies);
  responseCookies = TextRemoveSpaces(responseCookies);
  std::vector<std::string> merged = TextSplit(responseCookies, ";");
  // The test sees the list as it grows, so only the first old piece of a name is kept.
  for (const std::string& old : TextSplit(cookies, ";")) {
    if (!HasCookieName(merged, CookieName(old))) merged.push_back(old);
  }
  cookies.clear();
  for (const std::string& piece : merged) {
    if (!piece.ends_with(kDeletedValue)) cookies.append(piece).append(kJoin);
  }
  if (cookies.size() >= kJoin.size()) cookies.resize(cookies.size() - kJoin.size());
  return cookies;
}
