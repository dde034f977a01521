#pragma once
// Code page 936 <-> UTF-8 in one pass, without the trip through UTF-16, for texts in which
// every character converts on its own. The tables behind it are filled from the ICU
// converters one character at a time, the first time the character is seen, so the bytes are
// ICU's. Whatever does not convert on its own (invalid input, combining marks, characters
// outside the BMP, bytes ICU substitutes) is declined, and the caller takes the ICU path for
// the whole text. Safe on any thread. Internal to text/.

#include <cstddef>
#include <string>
#include <string_view>

// Writes `utf8` up to its first zero byte in code page 936 into `text`, reusing its storage;
// false when some character needs the ICU path (`text` then holds nothing of use).
bool DirectUtf8ToGbk(std::string_view utf8, std::string& text);

// Writes `text` (code page 936) up to its first zero byte in UTF-8 into `utf8`, reusing its
// storage; false when some byte needs the ICU path (`utf8` then holds nothing of use). It
// takes only characters that come back unchanged through DirectUtf8ToGbk, so on success every
// run of whole characters of `utf8` converts back to the matching run of `text`.
bool DirectGbkToUtf8(std::string_view text, std::string& utf8);

enum class GbkInput {
  kUpToZero,   // the text ends at its first zero byte
  kPairsOnly,  // a zero byte or a single byte of 0x80 or more declines as well
};

// DirectGbkToUtf8 writing from byte `written` of `utf8` on and moving `written` past what it
// wrote; `utf8` grows when short but is never cut (the caller cuts it to `written`).
bool DirectGbkToUtf8At(std::string_view text, std::string& utf8, size_t& written, GbkInput input);
