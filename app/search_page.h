#pragma once
// The text of the last search answer, shared between the window thread and the search
// workers. Every read and every replacement happens under its one lock, held only for that
// step; a replacement installs a complete text and a reader gets its own copy.

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

 private:
  mutable std::mutex mutex_;
  std::string text_;
};
