#pragma once
// ICU converters for the code pages the program speaks, one set per thread (ICU converters
// keep state and must not be shared between threads). Internal to text/.

#include <string>
#include <string_view>
#include <vector>

struct UConverter;

// The converter of a Windows code page number (0 and 936: code page 936; 65001: UTF-8;
// others by their Windows name), or null when ICU does not know the code page. What a code
// page cannot hold is written as "?".
UConverter* ConverterFor(int codePage);

// Bytes in the converter's code page to UTF-16 (invalid input becomes substitutes).
std::u16string DecodeWith(UConverter* converter, std::string_view bytes);

// UTF-16 to the converter's code page.
std::string EncodeWith(UConverter* converter, std::u16string_view wide);

// Bytes to UTF-16 together with, for each UTF-16 unit, the offset of the byte it came from.
std::u16string DecodeWithOffsets(UConverter* converter, std::string_view bytes,
                                 std::vector<int>* offsets);
