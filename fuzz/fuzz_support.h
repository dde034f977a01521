#pragma once
// What the fuzz targets share: a check that stops the run on a broken promise (libFuzzer then
// keeps the input), and small independent oracles written without the code under test.

#include <string>
#include <string_view>

// Prints what broke and the input's bytes, then aborts.
[[noreturn]] void FuzzFail(std::string_view what, std::string_view detail = {});

#define FUZZ_CHECK(condition, what, detail)   \
  do {                                        \
    if (!(condition)) FuzzFail(what, detail); \
  } while (false)

// The bytes as "41 42 E4 ..." for failure messages.
std::string HexDump(std::string_view bytes);

// True when every byte sequence of `text` is a character that code page 936 maps to Unicode
// (decoded strictly, no substitute), and no byte is zero.
bool IsCp936Text(std::string_view text);

// True when `bytes` is well-formed UTF-8 without a zero byte.
bool IsUtf8Text(std::string_view bytes);

// Every byte A-Z made a-z, wherever it stands (coarser than the texts' own folding, which
// leaves the second byte of a double-byte character alone).
std::string FoldEveryByte(std::string_view text);

// "%hh" sequences back to bytes; false when a "%" is not followed by two hex digits.
bool PercentDecode(std::string_view encoded, std::string& decoded);
