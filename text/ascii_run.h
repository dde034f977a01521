#pragma once
// How many bytes below 0x80 a byte range starts with, sixteen bytes at a time with SSE2 and
// eight without. Internal to text/.

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#endif

// Position of the first byte of 0x80 or more in the 8-byte word loaded from memory, 8 if none.
inline int FirstHighByte(std::uint64_t word) {
  const std::uint64_t high = word & 0x8080808080808080ull;
  if (high == 0) return 8;
  return (std::endian::native == std::endian::little ? std::countr_zero(high)
                                                     : std::countl_zero(high)) /
         8;
}

inline std::size_t AsciiRunLength(const char* begin, const char* end) {
  const char* p = begin;
#if defined(__SSE2__) || defined(_M_X64)
  for (; end - p >= 16; p += 16) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    if (const int high = _mm_movemask_epi8(block); high != 0) {
      return static_cast<std::size_t>(p - begin) + std::countr_zero(static_cast<unsigned>(high));
    }
  }
#endif
  for (; end - p >= 8; p += 8) {
    std::uint64_t word;
    std::memcpy(&word, p, 8);
    if (const int ascii = FirstHighByte(word); ascii < 8) {
      return static_cast<std::size_t>(p - begin) + static_cast<std::size_t>(ascii);
    }
  }
  while (p < end && static_cast<unsigned char>(*p) < 0x80) ++p;
  return static_cast<std::size_t>(p - begin);
}
