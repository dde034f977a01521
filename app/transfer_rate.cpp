#include "app/transfer_rate.h"

void TransferRate::Add(std::int64_t ms, std::uint64_t received) {
  samples_.push_back({ms, received});
  // The oldest sample kept is the last one at or before the window's start, so the window is
  // always covered from its beginning.
  while (samples_.size() > 2 && samples_[1].ms <= ms - kWindowMs) samples_.pop_front();
}

double TransferRate::BytesPerSecond() const {
  if (samples_.size() < 2) return 0;
  const Sample& first = samples_.front();
  const Sample& last = samples_.back();
  const std::int64_t span = last.ms - first.ms;
  if (span < kMinSpanMs || last.received < first.received) return 0;
  return static_cast<double>(last.received - first.received) * 1000.0 / static_cast<double>(span);
}
