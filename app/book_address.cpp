#include "app/book_address.h"

#include "text/regex_object.h"
#include "text/text_find.h"
#include "text/url_encode.h"
#include "web/fetch.h"
#include "web/site_patterns.h"

namespace {

// Group 1 of the first match of `pattern` in the page at `address`; "" when the page cannot
// be fetched or does not match.
std::string FirstGroupOfPage(RegexObject& regex, std::string_view pattern,
                             std::string_view address) {
  const std::string page = FetchText(address);
  regex.Search(pattern, page);
  return regex.SubmatchText(1, 1);
}

}  // namespace

std::string EncodedBookName(std::string_view bookName) {
  return UrlEncode(bookName, /*keepPlain=*/false, /*toUtf8=*/true);
}

std::string ComputedAddress(RegexObject& yearRegex, std::string_view fileHost,
                            std::string_view name, std::string_view date) {
  yearRegex.Search(kDatePattern, date);
  const std::string year = yearRegex.SubmatchText(1, 1);
  return "http://" + std::string(fileHost) + std::string(kFileServerPath) + year + "/" +
         EncodedBookName(name) + ".txt";
}

std::string ResolveDownloadAddress(std::string_view pageAddress, std::string_view bookName,
                                   std::string_view novelHost) {
  RegexObject bookPage;
  RegexObject downloadPage;
  const std::string pageName = FirstGroupOfPage(bookPage, kDownloadPagePattern, pageAddress);
  const std::string downloadPageAddress =
      "http://" + std::string(novelHost) + "/txt/" + pageName + ".html";
  std::string link = FirstGroupOfPage(downloadPage, kDownloadLinkPattern, downloadPageAddress);
  // The site writes the name raw into the link, sometimes in other ASCII letter case.
  link = TextReplaceAll(std::move(link), bookName, EncodedBookName(bookName), /*ignoreCase=*/true);
  return "http://" + link;
}
