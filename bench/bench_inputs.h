#pragma once
// What the benchmarks work on, made by the demo site's generators (never fetched): search
// pages of K results, the page on which the result pattern finds nothing, Chinese text, and
// the generated book's address on the file server.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The keyword of every benchmark search; two of the demo titles hold it, so the page carries
// <em> tags as a real answer does.
inline constexpr std::string_view kBenchKeywordUtf8 = "\xE8\xAE\xB0";  // "记"

// The demo site's answer (UTF-8, CR LF line ends) to a search with `resultCount` results.
std::string SearchPageUtf8(int resultCount);

// A search answer of at least `minBytes` whose line ends were changed to LF, so the result
// pattern (which spells its line breaks CR LF) finds nothing in it.
std::string NoMatchPageUtf8(std::size_t minBytes = std::size_t{1} << 20);

// `bytes` bytes of the generated book: code page 936 prose, CR LF line ends.
std::string ChineseTextGbk(std::size_t bytes);

// The file server's path of the generated book of `bookBytes` bytes.
std::string LargeBookPath(std::uint64_t bookBytes);
