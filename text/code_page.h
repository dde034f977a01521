#pragma once
// Conversions between code page 936 texts, UTF-16 and UTF-8. A character that code page 936
// cannot hold becomes "?"; invalid input never fails, it is decoded with substitutes.
// Code page numbers are Windows' own: 936, 65001 (UTF-8), 0 (the ANSI code page: 936 here).

#include <cstddef>
#include <string>
#include <string_view>

#include "text/bytes.h"

inline constexpr int kCodePageGbk = 936;
inline constexpr int kCodePageUtf8 = 65001;
inline constexpr int kCodePageAnsi = 0;

// The UTF-8 bytes of a code page 936 text, as a text.
std::string GbkToUtf8(std::string_view text);

// The same written into `utf8`, whose storage is reused (`text` must not lie inside it). True
// when every character went through on its own and comes back unchanged: then Utf8ToGbk of any
// run of whole characters of `utf8` is exactly the matching run of `text`.
bool GbkToUtf8(std::string_view text, std::string& utf8);

// Writes the UTF-8 form of `text` into `utf8` from byte `written` on, moving `written` past it,
// when `text` is plain double-byte text: no zero byte, every byte of 0x80 or more part of a
// double-byte character, and every character going through on its own and coming back
// unchanged (as when GbkToUtf8 returns true). In such a text a byte search for ASCII finds only
// whole characters. `utf8` grows when short and is never cut: the caller cuts it to `written`
// once done, and a string kept from one call to the next is written over without clearing.
// False when `text` is not such a text; `utf8` then holds nothing of use.
bool PairedGbkToUtf8At(std::string_view text, std::string& utf8, size_t& written);

// `text` read in `codePage`, as UTF-16 followed by one zero unit.
std::u16string TextToWide(std::string_view text, int codePage = kCodePageUtf8);

// UTF-16 (up to its first zero unit) written in `codePage`, up to the first zero byte.
std::string WideToText(std::u16string_view wide, int codePage = kCodePageAnsi);

// A UTF-8 body decoded into a code page 936 text, cut at the first zero byte.
std::string Utf8ToGbk(std::string_view bytes);
inline std::string Utf8ToGbk(const Bytes& bytes) { return Utf8ToGbk(BytesView(bytes)); }

// UTF-8 as UTF-16, without a terminator.
std::u16string Utf8ToWide(std::string_view bytes);

// UTF-16 as code page 936, a base character followed by a combining mark written precomposed
// where code page 936 has the precomposed character; up to the first zero byte.
std::string WideToGbk(std::u16string_view wide);
