// The result pattern over pages built like the site's: fuzz bytes spliced into the fields of
// valid result blocks must come back as exactly those fields, at their positions; with raw
// bytes spliced anywhere into the page, the general promises still hold.

#include <array>
#include <cstddef>
#include <cstdint>
#include <fuzzer/FuzzedDataProvider.h>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "fuzz/result_checks.h"
#include "text/regex_object.h"
#include "web/site_patterns.h"

namespace {

constexpr std::string_view kBreak = "\r\n        ";
constexpr std::string_view kAuthorLabel = "\xD7\xF7\xD5\xDF\xA3\xBA";  // "作者："
constexpr std::string_view kDateLabel = "\xC8\xD5\xC6\xDA\xA3\xBA";    // "日期："
constexpr int kGroups = 6;

// Field text the markup around it cannot be confused with: no "<" (every closing tag), no "&"
// (the &nbsp; separators), no quote (the attributes), no zero; high bytes become common
// code page 936 characters (B0A1..D7F9, all assigned).
std::string FieldText(std::string_view raw) {
  std::string text;
  for (size_t i = 0; i < raw.size(); ++i) {
    const auto byte = static_cast<unsigned char>(raw[i]);
    if (byte < 0x80) {
      if (byte != '<' && byte != '&' && byte != '"' && byte != '\0') text.push_back(raw[i]);
      continue;
    }
    if (i + 1 >= raw.size()) break;
    const auto next = static_cast<unsigned char>(raw[++i]);
    const auto lead = static_cast<unsigned char>(0xB0 + byte % 0x28);
    auto trail = static_cast<unsigned char>(0xA1 + next % 0x5E);
    if (lead == 0xD7 && trail > 0xF9) trail = 0xF9;
    text.push_back(static_cast<char>(lead));
    text.push_back(static_cast<char>(trail));
  }
  return text;
}

struct Block {
  size_t start = 0;
  std::array<std::string, kGroups> fields;
  std::array<size_t, kGroups> positions{};
};

class PageBuilder {
 public:
  explicit PageBuilder(FuzzedDataProvider& in) : in_(in) {}

  Block AddBlock() {
    Block block;
    page_ += Field(8);  // whatever stands between the blocks
    page_ += kBreak;
    block.start = page_.size();
    page_ += "<div class=\"searchTopic\">";
    page_ += Field(8);
    page_ += "<a href=\"" + Field(24) + "\" class=\"searchtitle\" target=\"_blank\">";
    Put(block, 0);
    page_ += "</a>&nbsp;&nbsp;";
    page_ += kAuthorLabel;
    Put(block, 1);
    page_ += "</div>";
    page_ += kBreak;
    page_ += "<div class=\"searchIntro\">";
    Put(block, 2);
    page_ += "</div>";
    page_ += kBreak;
    page_ += "<div class=\"searchInfo\"><a href=\"" + Field(24) + "\" class=\"g\">";
    Put(block, 3);
    page_ += "</a> - [<a href=/txt/" + Field(8) + "/>" + Field(8) + "</a>]&nbsp;";
    Put(block, 4);
    page_ += "&nbsp;";
    page_ += kDateLabel;
    page_ += "<span class=\"oldDate\">";
    Put(block, 5);
    page_ += "</span></div>";
    return block;
  }

  std::string& Page() { return page_; }

 private:
  std::string Field(size_t maxLength) {
    return FieldText(in_.ConsumeRandomLengthString(maxLength));
  }

  void Put(Block& block, int group) {
    block.fields[group] = Field(40);
    block.positions[group] = page_.size();
    page_ += block.fields[group];
  }

  FuzzedDataProvider& in_;
  std::string page_;
};

void CheckExactBlocks(const RegexObject& regex, const std::vector<Block>& blocks) {
  FUZZ_CHECK(regex.MatchCount() == static_cast<int>(blocks.size()),
             "not one match per result block", std::to_string(regex.MatchCount()));
  for (size_t b = 0; b < blocks.size(); ++b) {
    const int m = static_cast<int>(b) + 1;
    int position = -1;
    regex.MatchText(m, &position);
    FUZZ_CHECK(position == static_cast<int>(blocks[b].start), "the match starts elsewhere",
               std::to_string(position));
    for (int g = 0; g < kGroups; ++g) {
      const std::string text = regex.SubmatchText(m, g + 1, &position);
      FUZZ_CHECK(text == blocks[b].fields[g], "a field came back changed",
                 "group " + std::to_string(g + 1) + ": " + HexDump(text) + " instead of " +
                     HexDump(blocks[b].fields[g]));
      FUZZ_CHECK(position == static_cast<int>(blocks[b].positions[g]),
                 "a field's position is wrong", std::to_string(position));
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const bool spliceRaw = in.ConsumeBool();
  const int blockCount = in.ConsumeIntegralInRange(1, 4);
  PageBuilder builder(in);
  std::vector<Block> blocks;
  for (int b = 0; b < blockCount; ++b) blocks.push_back(builder.AddBlock());
  std::string& page = builder.Page();
  page += kBreak;

  if (spliceRaw) {
    const size_t at = in.ConsumeIntegralInRange<size_t>(0, page.size());
    page.insert(at, in.ConsumeRemainingBytesAsString());
  }

  RegexObject regex;
  const bool searched = regex.Search(kResultPattern, page);
  FUZZ_CHECK(searched || spliceRaw, "the search of a well-formed page failed", "");
  if (!searched) return 0;
  CheckResultMatches(regex, page);
  if (!spliceRaw) CheckExactBlocks(regex, blocks);
  return 0;
}
