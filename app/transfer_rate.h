#pragma once
// How fast a transfer goes now: bytes per second over its last couple of seconds, so that a
// stall shows as a falling figure rather than being averaged away.

#include <cstdint>
#include <deque>

class TransferRate {
 public:
  // The transfer had received `received` bytes in all at `ms` (a steady clock, milliseconds).
  void Add(std::int64_t ms, std::uint64_t received);

  // Bytes per second over the samples of the last kWindowMs; 0 until they span kMinSpanMs.
  double BytesPerSecond() const;

  static constexpr std::int64_t kWindowMs = 2000;
  static constexpr std::int64_t kMinSpanMs = 200;

 private:
  struct Sample {
    std::int64_t ms;
    std::uint64_t received;
  };
  std::deque<Sample> samples_;
};
