#pragma once
// The small text operations every module shares. Texts are code page 936 bytes.

#include <string>
#include <string_view>
#include <vector>

// Only A-Z change; both bytes of a double-byte character stay as they are.
std::string TextLower(std::string_view text);

// ASCII spaces and full-width spaces (A1 A1) removed at both ends; tabs, CR and LF stay.
std::string TextTrim(std::string_view text);

// Every ASCII space and full-width space removed, wherever it stands.
std::string TextRemoveSpaces(std::string_view text);

// Every piece between separators, empty ones included, but none after a final separator;
// an empty text gives no piece. An empty separator gives the whole text as one piece.
std::vector<std::string> TextSplit(std::string_view text, std::string_view separator);

// Leading white space, an optional sign, then decimal digits (full-width digits count);
// stops at the first other character; 0 when no digit comes first. A value beyond the range
// saturates.
long long TextToInt(std::string_view text);

// True when the byte starts a double-byte character (0x80 or more).
inline bool IsLeadByte(char c) { return static_cast<unsigned char>(c) >= 0x80; }
