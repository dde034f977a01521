#pragma once
// Byte scans over UTF-8 and code page 936 stretches, sixteen bytes at a time with SSE2 and
// eight without. Internal to text/.

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#endif

namespace byte_scan {

inline constexpr std::uint64_t kEveryByte = 0x0101010101010101ull;
inline constexpr std::uint64_t kHighBits = 0x8080808080808080ull;

inline std::uint64_t LoadWord(const char* p) {
  std::uint64_t word;
  std::memcpy(&word, p, 8);
  return word;
}

// Bit 7 of each byte of `word` that equals `byte`, nothing else.
inline std::uint64_t BytesEqual(std::uint64_t word, unsigned char byte) {
  const std::uint64_t x = word ^ (kEveryByte * byte);
  return ~(((x & ~kHighBits) + ~kHighBits) | x | ~kHighBits);
}

// How many bytes of `marks` (bit 7 of a byte set, every other bit clear) are marked.
inline int CountMarked(std::uint64_t marks) {
  return static_cast<int>(((marks >> 7) * kEveryByte) >> 56);
}

}  // namespace byte_scan

// Position of the first byte of 0x80 or more in the 8-byte word loaded from memory, 8 if none.
inline int FirstHighByte(std::uint64_t word) {
  const std::uint64_t high = word & byte_scan::kHighBits;
  if (high == 0) return 8;
  return (std::endian::native == std::endian::little ? std::countr_zero(high)
                                                     : std::countl_zero(high)) /
         8;
}

// How many bytes below 0x80 the stretch starts with.
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
    if (const int ascii = FirstHighByte(byte_scan::LoadWord(p)); ascii < 8) {
      return static_cast<std::size_t>(p - begin) + static_cast<std::size_t>(ascii);
    }
  }
  while (p < end && static_cast<unsigned char>(*p) < 0x80) ++p;
  return static_cast<std::size_t>(p - begin);
}

// The bytes that the whole UTF-8 characters of the stretch take in code page 936 when each
// character outside ASCII becomes a double-byte one: every continuation byte (0x80-0xBF) is one
// byte fewer, every lead byte (0xC0 and above) one more.
inline std::size_t DoubleByteLength(const char* begin, const char* end) {
  std::ptrdiff_t continuation = 0;
  std::ptrdiff_t leads = 0;
  const char* p = begin;
#if defined(__SSE2__) || defined(_M_X64)
  // Byte counters in the lanes, emptied before any of them can pass 255.
  const __m128i zero = _mm_setzero_si128();
  const __m128i firstLead = _mm_set1_epi8(static_cast<char>(0xC0));  // -64 as a signed byte
  while (end - p >= 16) {
    __m128i continuationLanes = zero;
    __m128i leadLanes = zero;
    for (int round = 0; round < 255 && end - p >= 16; ++round, p += 16) {
      const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
      const __m128i isContinuation = _mm_cmplt_epi8(block, firstLead);  // 0x80-0xBF
      const __m128i isHigh = _mm_cmplt_epi8(block, zero);               // 0x80 and above
      continuationLanes = _mm_sub_epi8(continuationLanes, isContinuation);
      leadLanes = _mm_sub_epi8(leadLanes, _mm_andnot_si128(isContinuation, isHigh));
    }
    const __m128i sums = _mm_sad_epu8(continuationLanes, zero);
    const __m128i leadSums = _mm_sad_epu8(leadLanes, zero);
    continuation += _mm_cvtsi128_si32(sums) + _mm_cvtsi128_si32(_mm_srli_si128(sums, 8));
    leads += _mm_cvtsi128_si32(leadSums) + _mm_cvtsi128_si32(_mm_srli_si128(leadSums, 8));
  }
#endif
  for (; end - p >= 8; p += 8) {
    const std::uint64_t word = byte_scan::LoadWord(p);
    const std::uint64_t leadMarks = word & (word << 1) & byte_scan::kHighBits;
    continuation += byte_scan::CountMarked((word & byte_scan::kHighBits) & ~leadMarks);
    leads += byte_scan::CountMarked(leadMarks);
  }
  for (; p < end; ++p) {
    const auto byte = static_cast<unsigned char>(*p);
    continuation += byte >= 0x80 && byte < 0xC0;
    leads += byte >= 0xC0;
  }
  return static_cast<std::size_t>((end - begin) - continuation + leads);
}

// Whether the stretch holds a byte 0x80 or 0xFF: the only bytes that can stand alone as a
// code page 936 character of 0x80 or more (0x80 can also be the second byte of a pair).
inline bool HasLoneHighByte(const char* begin, const char* end) {
  const char* p = begin;
#if defined(__SSE2__) || defined(_M_X64)
  const __m128i euro = _mm_set1_epi8(static_cast<char>(0x80));
  const __m128i last = _mm_set1_epi8(static_cast<char>(0xFF));
  for (; end - p >= 16; p += 16) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i found = _mm_or_si128(_mm_cmpeq_epi8(block, euro), _mm_cmpeq_epi8(block, last));
    if (_mm_movemask_epi8(found) != 0) return true;
  }
#endif
  for (; end - p >= 8; p += 8) {
    const std::uint64_t word = byte_scan::LoadWord(p);
    if ((byte_scan::BytesEqual(word, 0x80) | byte_scan::BytesEqual(word, 0xFF)) != 0) return true;
  }
  for (; p < end; ++p) {
    const auto byte = static_cast<unsigned char>(*p);
    if (byte == 0x80 || byte == 0xFF) return true;
  }
  return false;
}
