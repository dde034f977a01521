#pragma once

#include <string>
#include <string_view>

// Every byte as "%" and two upper-case hex digits; with `keepPlain`, hyphens, full stops,
// digits and ASCII letters stay as they are. With `toUtf8`, the UTF-8 form of the text is
// encoded instead of its code page 936 bytes. A space is "%20", never "+".
std::string UrlEncode(std::string_view text, bool keepPlain = false, bool toUtf8 = false);
