#include "text/direct_conversion.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <bit>
#include <cstdint>
#include <cstring>
#include <unicode/uchar.h>
#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#endif

#include "text/byte_scan.h"
#include "text/icu_converter.h"

namespace {

// A table entry: 0 when not looked up yet, kDeclined when the character needs the ICU path.
using Entry = std::uint16_t;
constexpr Entry kUnknown = 0;
constexpr Entry kDeclined = 0xFFFF;
using Table = std::array<std::atomic<Entry>, 0x10000>;

// Code page 936 character -> BMP code point. Indexed by a double-byte code (lead << 8 | trail)
// or by a single byte of 0x80 or more.
Table& GbkTable() {
  static Table table;
  return table;
}

// BMP code point -> code page 936 character: a single byte (below 0x100) or a double-byte code
// (lead << 8 | trail).
Table& UnicodeTable() {
  static Table table;
  return table;
}

template <Entry (*Probe)(std::uint32_t)>
Entry LookUp(Table& table, std::uint32_t index) {
  Entry entry = table[index].load(std::memory_order_relaxed);
  if (entry == kUnknown) [[unlikely]] {
    // Two threads may probe the same character at once; both store the same entry.
    entry = Probe(index);
    table[index].store(entry, std::memory_order_relaxed);
  }
  return entry;
}

// What ICU makes of one BMP character on its own. A combining mark is declined: the ICU path
// precomposes it with the character before it.
Entry ProbeUnicode(std::uint32_t codePoint) {
  if ((codePoint & 0xF800) == 0xD800) return kDeclined;
  if (codePoint >= 0x300 && u_getCombiningClass(static_cast<UChar32>(codePoint)) != 0) {
    return kDeclined;
  }
  const std::string bytes =
      EncodeWith(ConverterFor(936), std::u16string(1, static_cast<char16_t>(codePoint)));
  const auto byte = [&](size_t k) {
    return static_cast<Entry>(static_cast<unsigned char>(bytes[k]));
  };
  if (bytes.size() == 1 && byte(0) != 0) return byte(0);
  if (bytes.size() == 2 && byte(0) >= 0x81 && byte(1) != 0)
    return static_cast<Entry>(byte(0) << 8 | byte(1));
  return kDeclined;
}

// What ICU makes of one code page 936 character on its own: declined when ICU substitutes,
// and unless the character comes back unchanged through ProbeUnicode, so that whatever this
// direction accepts converts back byte for byte.
Entry ProbeGbk(std::uint32_t index) {
  std::string bytes;
  if (index > 0xFF) bytes.push_back(static_cast<char>(index >> 8));
  bytes.push_back(static_cast<char>(index & 0xFF));
  const std::u16string wide = DecodeWith(ConverterFor(936), bytes);
  if (wide.size() != 1 || wide[0] < 0x80 || wide[0] == 0xFFFD || wide[0] == kDeclined) {
    return kDeclined;
  }
  if (LookUp<ProbeUnicode>(UnicodeTable(), wide[0]) != index) return kDeclined;
  return wide[0];
}

// Both directions copy ASCII unchanged; true when ICU agrees for every ASCII character.
bool AsciiIsCopied() {
  static const bool copied = [] {
    for (std::uint32_t c = 1; c < 0x80; ++c) {
      const std::string byte(1, static_cast<char>(c));
      if (DecodeWith(ConverterFor(936), byte) != std::u16string(1, static_cast<char16_t>(c)) ||
          EncodeWith(ConverterFor(936), std::u16string(1, static_cast<char16_t>(c))) != byte) {
        return false;
      }
    }
    return true;
  }();
  return copied;
}

// Position of the first zero byte or byte of 0x80 or more in a word loaded from memory, 8 if
// none.
int FirstStopByte(std::uint64_t word) {
  const std::uint64_t stop = (word & byte_scan::kHighBits) | byte_scan::BytesEqual(word, 0);
  if (stop == 0) return 8;
  return (std::endian::native == std::endian::little ? std::countr_zero(stop)
                                                     : std::countl_zero(stop)) /
         8;
}

// Copies the bytes from 0x01 to 0x7F from `p` on to `out` and moves both past them, sixteen
// (with SSE2) or eight at a time while they last; it stops at a zero byte as at a byte of 0x80
// or more, so the callers find a text's end without a scan of their own. A whole block is
// written only where that many input bytes remain, so `out` needs room for no more than what
// is left of the input.
void CopyAscii(const unsigned char*& p, const unsigned char* end, char*& out) {
#if defined(__SSE2__) || defined(_M_X64)
  const __m128i zero = _mm_setzero_si128();
  while (end - p >= 16) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), block);
    const auto stop = static_cast<unsigned>(_mm_movemask_epi8(block)) |
                      static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, zero)));
    const int ascii = stop == 0 ? 16 : std::countr_zero(stop);
    p += ascii;
    out += ascii;
    if (ascii < 16) return;
  }
#endif
  while (end - p >= 8) {
    std::uint64_t word;
    std::memcpy(&word, p, 8);
    std::memcpy(out, &word, 8);
    const int ascii = FirstStopByte(word);
    p += ascii;
    out += ascii;
    if (ascii < 8) return;
  }
  while (p < end && *p != 0 && *p < 0x80) *out++ = static_cast<char>(*p++);
}

// One UTF-8 sequence of two or three bytes at `p` (a byte of 0x80 or more), strictly: no
// overlong form, nothing cut short (surrogates are declined by the table). Returns its length,
// or 0 when it is not such a sequence.
size_t DecodeUtf8(const unsigned char* p, const unsigned char* end, std::uint32_t* codePoint) {
  const unsigned char lead = p[0];
  if (lead >= 0xC2 && lead < 0xE0 && end - p >= 2 && (p[1] & 0xC0) == 0x80) {
    *codePoint = (lead & 0x1Fu) << 6 | (p[1] & 0x3Fu);
    return 2;
  }
  if (lead >= 0xE0 && lead < 0xF0 && end - p >= 3 && (p[1] & 0xC0) == 0x80 &&
      (p[2] & 0xC0) == 0x80) {
    *codePoint = (lead & 0x0Fu) << 12 | (p[1] & 0x3Fu) << 6 | (p[2] & 0x3Fu);
    return *codePoint < 0x800 ? 0 : 3;
  }
  return 0;
}

// Writes the UTF-8 form of a BMP code point of 0x80 or more and returns its length.
size_t PutUtf8(std::uint32_t codePoint, char* out) {
  if (codePoint < 0x800) {
    out[0] = static_cast<char>(0xC0 | codePoint >> 6);
    out[1] = static_cast<char>(0x80 | (codePoint & 0x3F));
    return 2;
  }
  out[0] = static_cast<char>(0xE0 | codePoint >> 12);
  out[1] = static_cast<char>(0x80 | (codePoint >> 6 & 0x3F));
  out[2] = static_cast<char>(0x80 | (codePoint & 0x3F));
  return 3;
}

// Writes a code page 936 character as the table holds it and returns its length.
size_t PutGbk(Entry character, char* out) {
  if (character < 0x100) {
    out[0] = static_cast<char>(character);
    return 1;
  }
  out[0] = static_cast<char>(character >> 8);
  out[1] = static_cast<char>(character & 0xFF);
  return 2;
}

}  // namespace

bool DirectUtf8ToGbk(std::string_view utf8, std::string& text) {
  if (!AsciiIsCopied()) return false;
  // No character grows (ASCII stays one byte, a two- or three-byte sequence becomes at most
  // two), so the output never passes the input and block copies stay inside the input's size.
  text.resize(utf8.size());
  char* out = text.data();
  const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
  const auto* const end = p + utf8.size();
  while (p < end) {
    if (*p < 0x80) {
      if (*p == 0) break;
      CopyAscii(p, end, out);
      continue;
    }
    std::uint32_t codePoint = 0;
    const size_t length = DecodeUtf8(p, end, &codePoint);
    if (length == 0) return false;
    const Entry character = LookUp<ProbeUnicode>(UnicodeTable(), codePoint);
    if (character == kDeclined) return false;
    out += PutGbk(character, out);
    p += length;
  }
  text.resize(static_cast<size_t>(out - text.data()));
  return true;
}

bool DirectGbkToUtf8(std::string_view text, std::string& utf8) {
  size_t written = 0;
  const bool converted = DirectGbkToUtf8At(text, utf8, written, GbkInput::kUpToZero);
  utf8.resize(written);
  return converted;
}

bool DirectGbkToUtf8At(std::string_view text, std::string& utf8, size_t& written, GbkInput input) {
  if (!AsciiIsCopied()) return false;
  const bool pairsOnly = input == GbkInput::kPairsOnly;
  // Room is kept for half as much again as the input left: ASCII keeps its size and a
  // double-byte character gives at most three bytes, so only a single byte of 0x80 or more
  // (three bytes out of one) can make room run short. Storage already there is written over
  // rather than cleared first.
  auto roomFor = [](size_t inputLeft) { return inputLeft + inputLeft / 2; };
  if (utf8.size() < written + roomFor(text.size())) utf8.resize(written + roomFor(text.size()));
  char* out = utf8.data() + written;
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const auto* const end = p + text.size();
  while (p < end) {
    if (*p < 0x80) {
      if (*p == 0) {
        if (pairsOnly) return false;
        break;
      }
      CopyAscii(p, end, out);
      continue;
    }
    const bool pair = *p >= 0x81 && *p <= 0xFE;
    if (pair && end - p < 2) return false;  // a lead byte cut off at the end
    if (!pair && pairsOnly) return false;
    const std::uint32_t index = pair ? (std::uint32_t{p[0]} << 8 | p[1]) : p[0];
    const Entry codePoint = LookUp<ProbeGbk>(GbkTable(), index);
    if (codePoint == kDeclined) return false;
    if (!pair) {
      const size_t at = static_cast<size_t>(out - utf8.data());
      const size_t needed = at + 3 + roomFor(static_cast<size_t>(end - p - 1));
      if (utf8.size() < needed) {
        utf8.resize(std::max(needed, utf8.size() * 2));
        out = utf8.data() + at;
      }
    }
    out += PutUtf8(codePoint, out);
    p += pair ? 2 : 1;
  }
  written = static_cast<size_t>(out - utf8.data());
  return true;
}
