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

std::uint64_t SearchPage::BeginSearch() {
  std::string previous;  // declared first, so released after the lock
  const std::lock_guard lock(mutex_);
  previous = std::exchange(text_, std::string());
  return ++searchNumber_;
}

bool SearchPage::Deliver(std::uint64_t searchNumber, std::string text) {
  if (text.empty()) return false;
  {
    const std::lock_guard lock(mutex_);
    // The number is compared under the same lock as the exchange: a search that begins in
    // between cannot be handed an answer of the one before.
    if (searchNumber != searchNumber_) return false;
    std::swap(text_, text);
  }
  // The previous text, now in `text`, is released here, outside the lock.
  return true;
}
