#pragma once
// The demo site's books as written: UTF-8, LF line ends. Titles, authors and the plots they
// tell are public facts; every sentence was written for the demo.

#include <span>
#include <string_view>

struct BookText {
  std::string_view name;
  std::string_view linkName;  // the name as the download link spells it ("" = as name)
  std::string_view author;
  std::string_view intro;
  std::string_view date;  // year-month-day
  std::string_view body;
};

// The regular books, in the order the site lists them.
std::span<const BookText> CatalogueTexts();

// The generated long book: everything but its body.
const BookText& LargeBookText();
