#include "app/cli_output.h"

#include <algorithm>
#include <cstdio>

#include "text/code_page.h"

std::string TerminalText(std::string_view text) { return GbkToUtf8(text); }

std::string OneLine(std::string text) {
  std::ranges::replace_if(
      text, [](char c) { return c == '\t' || c == '\r' || c == '\n'; }, ' ');
  return text;
}

std::string ResultLines(const std::vector<ResultRow>& rows) {
  std::string lines;
  for (const ResultRow& row : rows) {
    for (size_t column = 0; column < row.size(); ++column) {
      if (column > 0) lines += '\t';
      lines += OneLine(TerminalText(row[column]));
    }
    lines += '\n';
  }
  return lines;
}

std::string ResultJson(const std::vector<ResultRow>& rows) {
  std::string json = "[";
  for (size_t r = 0; r < rows.size(); ++r) {
    json += r == 0 ? "\n  [" : ",\n  [";
    for (size_t column = 0; column < rows[r].size(); ++column) {
      if (column > 0) json += ", ";
      json += JsonString(TerminalText(rows[r][column]));
    }
    json += ']';
  }
  json += rows.empty() ? "]\n" : "\n]\n";
  return json;
}

std::string JsonString(std::string_view utf8) {
  std::string json = "\"";
  for (const char c : utf8) {
    switch (c) {
      case '"':
        json += "\\\"";
        break;
      case '\\':
        json += "\\\\";
        break;
      case '\b':
        json += "\\b";
        break;
      case '\f':
        json += "\\f";
        break;
      case '\n':
        json += "\\n";
        break;
      case '\r':
        json += "\\r";
        break;
      case '\t':
        json += "\\t";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned char>(c));
          json += escaped;
        } else {
          json += c;
        }
    }
  }
  json += '"';
  return json;
}
