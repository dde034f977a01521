#pragma once
// The text of the last search answer, shared between the window thread and the search
// workers. Every read and every replacement happens under its one lock, held only for that
// step; a replacement installs a complete text and a reader gets its own copy. Each search
// has a number, so a worker of an earlier search can no longer install its answer.

#include <cstdint>
#include <mutex>
#include <string>

class SearchPage {
 public:
  // A copy of the current text ("" while there is none).
  std::string Read() const;
  // Installs `text`; the previous text is released.
  void Replace(std::string text);
  // Takes the text out, leaving "".
  std::string Take();

  // Starts a new search: the text becomes "" and from now on only answers of this search are
  // taken. Returns the new search's number.
  std::uint64_t BeginSearch();
  // A worker's answer to search `searchNumber`. Installed only while that search is the
  // latest, and only when it is not empty: a failed attempt never wipes out a page that
  // another attempt of the same search delivered. True when installed.
  bool Deliver(std::uint64_t searchNumber, std::string text);

 private:
  mutable std::mutex mutex_;
  std::string text_;
  std::uint64_t searchNumber_ = 0;
};
