#pragma once
// The books the demo site lists and serves. Names, authors and introductions are UTF-8, as
// the site prints them; a book's file is code page 936 text with CR LF line ends.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "demo/demo_site_options.h"
#include "text/bytes.h"

struct DemoBook {
  std::string name;      // as the search results print it
  std::string linkName;  // as the download link spells it (for one book other ASCII case)
  std::string author;
  std::string intro;
  std::string date;        // year-month-day
  std::string pageId;      // book page: /txt/<pageId>.html
  std::string downloadId;  // its download page: /txt/<downloadId>.html
  std::uint64_t size = 0;  // bytes the file server sends
  std::string content;     // those bytes, except for the generated book
  bool generated = false;  // the long book, produced on the fly
};

// The catalogue of a site with these options: about a dozen books (one ASCII-named, one with
// a character code page 936 cannot hold, one generated of options.largeBookBytes), then the
// hostile-named books when options.hostileNames is on.
std::vector<DemoBook> DemoCatalogue(const DemoSiteOptions& options = {});

// The year of the book's date: the text before its first "-".
std::string DemoBookYear(const DemoBook& book);

// The file server's path of the book: /d/file/p/txt/<year>/<UTF-8 name percent-encoded>.txt.
std::string DemoBookFilePath(const DemoBook& book);

// The size as the search results print it, e.g. "1.25 KB" or "20.00 MB".
std::string DemoSizeText(std::uint64_t bytes);

// Every byte of the book's file.
Bytes DemoBookBytes(const DemoBook& book);

// Bytes [offset, offset + length) of the book's file appended to `out`, cut at its end.
void AppendDemoBookBytes(const DemoBook& book, std::uint64_t offset, std::size_t length,
                         std::string& out);
