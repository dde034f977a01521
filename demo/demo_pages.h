#pragma once
// The demo site's HTML pages, UTF-8, in the markup the tool's patterns read. Each page has the
// header, navigation and footer a real page carries around its content.

#include <string>
#include <string_view>
#include <vector>

#include "demo/demo_catalogue.h"

struct SearchPageOptions {
  std::string siteHost = "127.0.0.1:8080";  // host[:port] of the book page addresses
  int resultCount = -1;      // -1: the matching books; 0..100000: that many rows, all books
                             // in turn whatever the keyword
  bool invalidUtf8 = false;  // put byte runs that are not UTF-8 into the page and each intro
};

// The answer to a search for `keywordUtf8`: one result block per book whose name holds the
// keyword (ASCII letter case ignored; an empty keyword matches every book), the keyword in
// each title wrapped in <em></em>, blocks joined by "\r\n" and eight spaces.
std::string MakeSearchPage(std::string_view keywordUtf8, const std::vector<DemoBook>& catalogue,
                           const SearchPageOptions& page);

// The same over the default catalogue, for benchmarks: `resultCount` as in SearchPageOptions.
std::string MakeSearchPage(std::string_view keywordUtf8, int resultCount = -1);

// What the site shows for a search request that is not a well-formed form: no results.
std::string MakeSearchErrorPage();

// A book's page, holding the link to its download page.
std::string MakeBookPage(const DemoBook& book);

// A book's download page, whose link is http://<fileHost>/d/file/p/txt/<year>/<link name>.txt
// with the name written raw.
std::string MakeDownloadPage(const DemoBook& book, std::string_view fileHost);

// The body of a 404 or 500 answer.
std::string MakeStatusPage(int status);
