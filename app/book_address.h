#pragma once
// Working out a book's download address, both ways the tool offers: computed from the book's
// date and name on the file server (mode (2)), or read from the site's own pages (mode (1)).
// Shared by the windows and the command line; texts are code page 936.

#include <string>
#include <string_view>

class RegexObject;

// The book's name as it travels in an address: every byte of its UTF-8 form as "%" and two
// upper-case hex digits, ASCII letters included.
std::string EncodedBookName(std::string_view bookName);

// "http://" + `fileHost` + "/d/file/p/txt/" + year + "/" + the encoded name + ".txt", where
// year is the text before the first hyphen of `date` (year-month-day), found by a search of
// `yearRegex` that stays in it; "" when the date has fewer than two hyphens.
std::string ComputedAddress(RegexObject& yearRegex, std::string_view fileHost,
                            std::string_view name, std::string_view date);

// Reads the book page at `pageAddress` for the name of its download page, reads that page
// ("http://" + `novelHost` + "/txt/" + name + ".html") for the download link, and gives
// "http://" + the link with every occurrence of `bookName` (ASCII letter case ignored) replaced
// by the encoded name. Two blocking GETs on the calling thread; a page that cannot be fetched
// or lacks its pattern leaves that piece empty, so the worst outcome is "http://".
std::string ResolveDownloadAddress(std::string_view pageAddress, std::string_view bookName,
                                   std::string_view novelHost);
