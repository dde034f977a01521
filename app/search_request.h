#pragma once
// One search attempt: the search form's body and address, and the post a worker makes.

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/search_page.h"

// "classid=0&show=title&keyboard=", every UTF-8 byte of `keyword` (code page 936) as "%XX"
// (letters and digits too), then "&Submit22=%E6%90%9C%E7%B4%A2".
std::string SearchBody(std::string_view keyword);

// The search form's address on `novelHost` (host[:port]): always plain HTTP.
std::string SearchAddress(std::string_view novelHost);

// What one attempt needs, read on the window thread when the attempt starts.
struct SearchAttempt {
  std::string novelHost;
  std::string keyword;
  std::uint64_t searchNumber = 0;  // the search it belongs to (SearchPage::BeginSearch)
};

// The work of one attempt, on a worker: posts the form for `attempt` and hands the answer to
// `slot` for its search (see SearchPage::Deliver). Returns the answer, "" when the request
// failed. Setting `abort` ends the transfer early.
std::string SearchRequest(SearchPage& slot, const SearchAttempt& attempt,
                          const std::atomic<bool>* abort = nullptr);
