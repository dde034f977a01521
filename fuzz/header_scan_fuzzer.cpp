// The response-header scan: a raw header block assembled line by line as libcurl hands the
// lines over, then read for its redirect target and its cookies.

#include <cstddef>
#include <cstdint>
#include <fuzzer/FuzzedDataProvider.h>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "text/text_helpers.h"
#include "web/header_scan.h"

namespace {

constexpr std::string_view kLineEnd = "\r\n";

// The lines as libcurl delivers them: each with its own line end, the last maybe without.
std::vector<std::string> DeliveredLines(std::string_view bytes) {
  std::vector<std::string> lines;
  while (!bytes.empty()) {
    const size_t end = bytes.find('\n');
    const size_t length = end == std::string_view::npos ? bytes.size() : end + 1;
    lines.emplace_back(bytes.substr(0, length));
    bytes.remove_prefix(length);
  }
  return lines;
}

std::string WithoutLineEnd(std::string line) {
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
  return line;
}

// What the block should hold: the lines of the last response, up to its blank line.
struct ExpectedBlock {
  std::string text;
  bool complete = false;

  bool Add(const std::string& line) {
    const std::string content = WithoutLineEnd(line);
    const bool statusLine = content.rfind("HTTP/", 0) == 0;
    if (statusLine) {
      text.clear();
      complete = false;
    } else if (complete) {
      return true;
    }
    if (text.size() + content.size() + kLineEnd.size() > kMaxHeaderBlockBytes) return false;
    text += content;
    text += kLineEnd;
    complete = content.empty();
    return true;
  }
};

void CheckBlock(const std::vector<std::string>& lines, size_t repeatLine, size_t repeat) {
  RawHeaderBlock block;
  ExpectedBlock expected;
  for (size_t i = 0; i < lines.size(); ++i) {
    for (size_t k = 0; k < (i == repeatLine ? repeat : 1); ++k) {
      const bool added = block.AddLine(lines[i]);
      FUZZ_CHECK(added == expected.Add(lines[i]), "AddLine refused or took the wrong line",
                 HexDump(lines[i]));
      FUZZ_CHECK(block.Text().size() <= kMaxHeaderBlockBytes, "the block grew past its limit",
                 std::to_string(block.Text().size()));
      if (!added) return;  // the transfer ends here
    }
  }
  FUZZ_CHECK(block.Text() == expected.text, "the block is not the final response's lines",
             HexDump(block.Text().substr(0, 200)));
  FUZZ_CHECK(block.Text().empty() || block.Text().ends_with(kLineEnd),
             "the block does not end with a line end", "");
}

// The value of the last "Location" line, found without the code under test's line reader.
bool LastLocation(std::string_view raw, std::string& value) {
  bool found = false;
  size_t from = 0;
  while (from <= raw.size()) {
    size_t end = raw.find(kLineEnd, from);
    if (end == std::string_view::npos) end = raw.size();
    const std::string_view line = raw.substr(from, end - from);
    const size_t colon = line.find(':');
    if (colon != std::string_view::npos &&
        FoldEveryByte(TextTrim(line.substr(0, colon))) == "location") {
      value = TextTrim(line.substr(colon + 1));
      found = true;
    }
    from = end + kLineEnd.size();
  }
  return found;
}

void CheckScan(std::string_view raw, const std::string& locationBefore) {
  std::string location = locationBefore;
  std::string responseCookies = "left over";
  ScanResponseHeaders(raw, location, responseCookies);

  std::string expected;
  if (!LastLocation(raw, expected)) expected = locationBefore;
  if (expected.empty()) expected = std::string(raw);
  FUZZ_CHECK(location == expected, "location is not the last Location line's value",
             HexDump(location.substr(0, 200)));

  if (raw.find("Set-Cookie") == std::string_view::npos) {
    FUZZ_CHECK(responseCookies.empty(), "cookies from a block without Set-Cookie",
               HexDump(responseCookies));
  }
  FUZZ_CHECK(responseCookies.find(kLineEnd) == std::string::npos, "a cookie runs across a line end",
             HexDump(responseCookies));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  // Now and then one line comes many times over, so that blocks reach their size limit; most
  // inputs stay small and fast.
  const bool repeatOne = in.ConsumeIntegralInRange(0, 15) == 15;
  const size_t repeatLine = in.ConsumeIntegralInRange<size_t>(0, 15);
  const size_t repeat = repeatOne ? in.ConsumeIntegralInRange<size_t>(1, 20000) : 1;
  const std::string locationBefore = in.ConsumeBool() ? in.ConsumeRandomLengthString(32) : "";
  const std::string raw = in.ConsumeRemainingBytesAsString();

  CheckBlock(DeliveredLines(raw), repeatLine, repeat);
  CheckScan(raw, locationBefore);
  return 0;
}
