#pragma once
// What the command line prints. Texts are code page 936 inside; the terminal gets UTF-8.

#include <string>
#include <string_view>
#include <vector>

#include "app/result_rows.h"

// The text in the terminal's encoding (UTF-8).
std::string TerminalText(std::string_view text);

// `text` with every TAB, CR and LF written as one space.
std::string OneLine(std::string text);

// One line per row, in order: its cells in UTF-8, TAB-separated, each ended by LF. A TAB,
// CR or LF inside a cell is written as one space, so a row never spans two lines.
std::string ResultLines(const std::vector<ResultRow>& rows);

// One JSON array holding one array per row, each of its cells as they stand (UTF-8 strings),
// ended by LF.
std::string ResultJson(const std::vector<ResultRow>& rows);

// `utf8` as a JSON string: quoted, with '"', '\' and every control character escaped.
std::string JsonString(std::string_view utf8);
