#include "demo/search_form.h"

#include <algorithm>
#include <array>
#include <map>

#include "demo/percent_decode.h"
#include "text/text_helpers.h"

namespace {

constexpr std::array<std::string_view, 4> kRequiredFields = {"classid", "show", "keyboard",
                                                             "Submit22"};

// The form's fields by name; nothing when the body is not name=value pairs joined by "&".
std::optional<std::map<std::string, std::string, std::less<>>> FormFields(std::string_view body) {
  std::map<std::string, std::string, std::less<>> fields;
  for (const std::string& piece : TextSplit(body, "&")) {
    const size_t equals = piece.find('=');
    if (equals == std::string::npos || equals == 0) return std::nullopt;
    std::optional<std::string> value = PercentDecode(piece.substr(equals + 1), true);
    if (!value) return std::nullopt;
    if (!fields.emplace(piece.substr(0, equals), std::move(*value)).second) return std::nullopt;
  }
  return fields;
}

}  // namespace

std::optional<std::string> ParseSearchForm(std::string_view body) {
  // A form body is ASCII; anything else did not come from a browser's form.
  if (std::any_of(body.begin(), body.end(), [](char c) { return IsLeadByte(c); })) {
    return std::nullopt;
  }
  auto fields = FormFields(body);
  if (!fields) return std::nullopt;
  for (std::string_view name : kRequiredFields) {
    if (fields->find(name) == fields->end()) return std::nullopt;
  }
  return fields->find("keyboard")->second;
}
