#include "app/search_request.h"

#include "text/url_encode.h"
#include "web/fetch.h"
#include "web/site_patterns.h"

std::string SearchBody(std::string_view keyword) {
  std::string body(kSearchBodyPrefix);
  body += UrlEncode(keyword, /*keepPlain=*/false, /*toUtf8=*/true);
  body += kSearchBodySuffix;
  return body;
}

std::string SearchAddress(std::string_view novelHost) {
  return "http://" + std::string(novelHost) + std::string(kSearchPath);
}

std::string SearchRequest(SearchPage& slot, const SearchAttempt& attempt,
                          const std::atomic<bool>* abort) {
  const std::string body = SearchBody(attempt.keyword);
  FetchParams params;
  params.method = 1;
  params.bodyText = body;
  params.abort = abort;
  std::string page = FetchText(SearchAddress(attempt.novelHost), params);
  slot.Deliver(attempt.searchNumber, page);
  return page;
}
