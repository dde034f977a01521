#include "app/search_page.h"

#include <utility>

std::string SearchPage::Read() const {
  const std::lock_guard lock(mutex_);
  return text_;
}

void SearchPage::Replace(std::string text) {
  std::string previous;
  {
    const std::lock_guard lock(mutex_);
    previous = std::exchange(text_, std::move(text));
  }
  // `previous` is released here, outside the lock.
}

std::string SearchPage::Take() {
  const std::lock_guard lock(mutex_);
  return std::exchange(text_, std::string());
}
