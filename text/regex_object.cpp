#define PCRE2_CODE_UNIT_WIDTH 8
#include "text/regex_object.h"

#include <algorithm>
#include <list>
#include <pcre2.h>
#include <utility>

#include "text/byte_scan.h"
#include "text/code_page.h"
#include "text/icu_converter.h"
#include "text/text_find.h"

namespace {

constexpr std::string_view kQuoteToken = "#\xD2\xFD\xBA\xC5";  // "#引号"

// Runaway patterns (nested lazy groups over a page whose markup changed) must fail fast
// instead of freezing the window: the limit ends such a search in tens of milliseconds,
// far above what any real result page needs per match.
constexpr uint32_t kMatchLimit = 2'000'000;
constexpr uint32_t kHeapLimitKiB = 64 * 1024;
constexpr size_t kJitStackMax = 4 * 1024 * 1024;

struct CodeFree {
  void operator()(pcre2_code* code) const { pcre2_code_free(code); }
};
struct MatchDataFree {
  void operator()(pcre2_match_data* data) const { pcre2_match_data_free(data); }
};
struct MatchContextFree {
  void operator()(pcre2_match_context* context) const { pcre2_match_context_free(context); }
};
struct CompileContextFree {
  void operator()(pcre2_compile_context* context) const { pcre2_compile_context_free(context); }
};
struct JitStackFree {
  void operator()(pcre2_jit_stack* stack) const { pcre2_jit_stack_free(stack); }
};

using CodePtr = std::shared_ptr<const pcre2_code>;

// The script engines' RegExp dialect on PCRE2: \xhh and \uhhhh escapes, "[]" and "[^]",
// unset back-references match empty, $ only at the very end without Multiline, and CR as
// well as LF end a line (so the dot crosses neither).
uint32_t CompileFlags(const RegexOptions& options) {
  uint32_t flags = PCRE2_UTF | PCRE2_NO_UTF_CHECK | PCRE2_ALT_BSUX | PCRE2_ALLOW_EMPTY_CLASS |
                   PCRE2_MATCH_UNSET_BACKREF | PCRE2_DOLLAR_ENDONLY;
  if (!options.caseSensitive) flags |= PCRE2_CASELESS;
  if (options.multiLine) flags |= PCRE2_MULTILINE;
  return flags;
}

CodePtr Compile(const std::string& patternUtf8, uint32_t flags) {
  // Pages are cut with the same few patterns again and again: keep the last ones compiled.
  struct Entry {
    std::string pattern;
    uint32_t flags;
    CodePtr code;
  };
  thread_local std::list<Entry> recent;
  for (auto it = recent.begin(); it != recent.end(); ++it) {
    if (it->flags == flags && it->pattern == patternUtf8) {
      recent.splice(recent.begin(), recent, it);
      return it->code;
    }
  }
  std::unique_ptr<pcre2_compile_context, CompileContextFree> context(
      pcre2_compile_context_create(nullptr));
  pcre2_set_newline(context.get(), PCRE2_NEWLINE_ANYCRLF);
  int errorCode = 0;
  PCRE2_SIZE errorOffset = 0;
  pcre2_code* raw =
      pcre2_compile(reinterpret_cast<PCRE2_SPTR>(patternUtf8.data()), patternUtf8.size(), flags,
                    &errorCode, &errorOffset, context.get());
  if (!raw) return nullptr;
  pcre2_jit_compile(raw, PCRE2_JIT_COMPLETE);  // without JIT the interpreter still works
  CodePtr code(raw, CodeFree());
  recent.push_front({patternUtf8, flags, code});
  if (recent.size() > 8) recent.pop_back();
  return code;
}

pcre2_match_context* MatchContext() {
  thread_local std::unique_ptr<pcre2_jit_stack, JitStackFree> stack(
      pcre2_jit_stack_create(32 * 1024, kJitStackMax, nullptr));
  thread_local std::unique_ptr<pcre2_match_context, MatchContextFree> context = [] {
    std::unique_ptr<pcre2_match_context, MatchContextFree> created(
        pcre2_match_context_create(nullptr));
    pcre2_set_match_limit(created.get(), kMatchLimit);
    pcre2_set_heap_limit(created.get(), kHeapLimitKiB);
    pcre2_jit_stack_assign(created.get(), nullptr, stack.get());
    return created;
  }();
  return context.get();
}

// Length of the UTF-8 character that starts with `lead`.
size_t Utf8Length(unsigned char lead) {
  // By the top four bits: 0x0-0xB one byte (a stray continuation byte counts alone), 0xC-0xD
  // two, 0xE three, 0xF four.
  static constexpr unsigned char kLength[16] = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 2, 2, 3, 4};
  return kLength[lead >> 4];
}

}  // namespace

struct RegexObject::State {
  bool searched = false;         // a search has run: the pattern is held
  std::string pattern;           // the effective pattern, code page 936
  std::string subject;           // code page 936
  std::string subjectUtf8;       // what the engine matched
  bool piecesAreSlices = false;  // each run of whole characters maps back unchanged
  bool loneHighBytes = false;    // the subject holds a byte 0x80 or 0xFF
  CodePtr code;
  bool hasMatches = false;          // the last search ran to its end
  int matchCount = 0;               // kept, as every cell asks for it
  int groups = 0;                   // capturing groups of the pattern
  std::vector<PCRE2_SIZE> offsets;  // per match: start and end of the match and of each group
  mutable std::vector<int> gbkOffsetOfUtf8;  // built on the first position asked for
  struct Walk {
    size_t utf8 = 0;
    size_t gbk = 0;
  };
  mutable Walk walk;  // where SliceOffset last stopped

  size_t Stride() const { return 2 * static_cast<size_t>(groups + 1); }
  int Count() const { return hasMatches ? matchCount : 0; }

  // Offsets of group `group` (0: the whole match) of match `matchNumber`, or false.
  bool Span(int matchNumber, int group, PCRE2_SIZE* start, PCRE2_SIZE* end) const {
    if (matchNumber < 1 || matchNumber > Count() || group < 0 || group > groups) return false;
    const size_t at = static_cast<size_t>(matchNumber - 1) * Stride() + 2 * group;
    *start = offsets[at];
    *end = offsets[at + 1];
    return *start != PCRE2_UNSET;
  }

  std::string Piece(PCRE2_SIZE start, PCRE2_SIZE end) const {
    if (!piecesAreSlices)
      return Utf8ToGbk(std::string_view(subjectUtf8).substr(start, end - start));
    // Converting the piece back would give these very bytes; cutting them out is cheaper.
    // Clamped so that a UTF-8 form not matching the subject gives wrong cells, never a throw.
    const size_t from = std::min(SliceOffset(start), subject.size());
    const size_t to = std::min(SliceOffset(end), subject.size());
    return subject.substr(from, to >= from ? to - from : 0);
  }

  // Offset in the subject of the character that starts at `utf8Offset`, found from where the
  // last call stopped (pieces are mostly asked for in order).
  size_t SliceOffset(size_t utf8Offset) const {
    if (utf8Offset < walk.utf8) walk = {};
    const char* const utf8 = subjectUtf8.data();
    const char* const gbk = subject.data();
    // Unless a character stands alone as one byte of 0x80 or more (0x80, 0xFF), the stretch's
    // length in the subject follows from its UTF-8 bytes, counted in blocks; such a byte in the
    // stretch so measured means walking it character by character instead.
    const size_t length = DoubleByteLength(utf8 + walk.utf8, utf8 + utf8Offset);
    if (!loneHighBytes ||
        !HasLoneHighByte(gbk + walk.gbk, gbk + std::min(walk.gbk + length, subject.size()))) {
      walk = {utf8Offset, walk.gbk + length};
      return walk.gbk;
    }
    while (walk.utf8 < utf8Offset) {
      const size_t ascii = AsciiRunLength(utf8 + walk.utf8, utf8 + utf8Offset);
      walk.utf8 += ascii;
      walk.gbk += ascii;
      while (walk.utf8 < utf8Offset && static_cast<unsigned char>(utf8[walk.utf8]) >= 0x80) {
        walk.utf8 += Utf8Length(static_cast<unsigned char>(utf8[walk.utf8]));
        // A lead byte 0x81..0xFE starts a double-byte character; 0x80 and 0xFF stand alone.
        const auto lead = static_cast<unsigned char>(gbk[walk.gbk]);
        walk.gbk += static_cast<unsigned char>(lead - 0x81) < 0x7E ? 2 : 1;
      }
    }
    return walk.gbk;
  }

  // Text of group `group` (0: the whole match) of match `matchNumber`; see SubmatchText.
  std::string Group(int matchNumber, int group, int* position) const {
    PCRE2_SIZE start = 0;
    PCRE2_SIZE end = 0;
    PCRE2_SIZE matchStart = 0;
    PCRE2_SIZE matchEnd = 0;
    const bool inMatch = Span(matchNumber, 0, &matchStart, &matchEnd);
    const bool known = inMatch && group >= 0 && group <= groups;
    const bool set = known && Span(matchNumber, group, &start, &end);
    if (position) *position = known ? GbkOffset(set ? start : matchStart) : -2;
    return set ? Piece(start, end) : "";
  }

  int GbkOffset(PCRE2_SIZE utf8Offset) const {
    if (gbkOffsetOfUtf8.empty()) {
      std::vector<int> unitSource;
      const std::u16string wide =
          DecodeWithOffsets(ConverterFor(kCodePageGbk), subject, &unitSource);
      gbkOffsetOfUtf8.assign(subjectUtf8.size() + 1, static_cast<int>(subject.size()));
      size_t unit = 0;
      for (size_t byte = 0; byte < subjectUtf8.size() && unit < wide.size();) {
        const size_t length = Utf8Length(static_cast<unsigned char>(subjectUtf8[byte]));
        for (size_t k = 0; k < length && byte + k < gbkOffsetOfUtf8.size(); ++k) {
          gbkOffsetOfUtf8[byte + k] = unitSource[unit];
        }
        byte += length;
        unit += length == 4 ? 2 : 1;  // a 4-byte character is a surrogate pair
      }
    }
    return gbkOffsetOfUtf8[std::min<size_t>(utf8Offset, gbkOffsetOfUtf8.size() - 1)];
  }
};

RegexObject::RegexObject() : state_(std::make_unique<State>()) {}
RegexObject::~RegexObject() = default;

bool RegexObject::Search(std::string_view pattern, std::string_view subject, RegexOptions options) {
  State& s = *state_;
  // Texts end at their first zero byte; cutting here keeps the subject, the engine's copy and
  // the positions computed from them in step.
  s.subject.assign(subject.substr(0, subject.find('\0')));
  s.piecesAreSlices = GbkToUtf8(s.subject, s.subjectUtf8);  // reuses the last one's storage
  return Run(pattern, options);
}

bool RegexObject::SearchConverted(std::string_view pattern, std::string_view subject,
                                  std::string& subjectUtf8, RegexOptions options) {
  State& s = *state_;
  s.subject.assign(subject);
  s.subjectUtf8.swap(subjectUtf8);
  s.piecesAreSlices = true;
  return Run(pattern, options);
}

bool RegexObject::Run(std::string_view pattern, const RegexOptions& options) {
  State& s = *state_;
  s.code.reset();
  s.hasMatches = false;
  s.groups = 0;
  s.offsets.clear();
  s.gbkOffsetOfUtf8.clear();
  s.walk = {};
  s.searched = true;
  pattern = pattern.substr(0, pattern.find('\0'));
  s.pattern =
      options.quoteToken ? TextReplaceAll(pattern, kQuoteToken, "\"") : std::string(pattern);
  s.loneHighBytes = HasLoneHighByte(s.subject.data(), s.subject.data() + s.subject.size());

  s.code = Compile(GbkToUtf8(s.pattern), CompileFlags(options));
  if (!s.code) return false;
  uint32_t captures = 0;
  pcre2_pattern_info(s.code.get(), PCRE2_INFO_CAPTURECOUNT, &captures);
  s.groups = static_cast<int>(captures);

  std::unique_ptr<pcre2_match_data, MatchDataFree> data(
      pcre2_match_data_create_from_pattern(s.code.get(), nullptr));
  const auto* text = reinterpret_cast<PCRE2_SPTR>(s.subjectUtf8.data());
  const PCRE2_SIZE length = s.subjectUtf8.size();
  PCRE2_SIZE from = 0;
  uint32_t extraFlags = 0;
  while (from <= length) {
    const int rc = pcre2_match(s.code.get(), text, length, from, PCRE2_NO_UTF_CHECK | extraFlags,
                               data.get(), MatchContext());
    if (rc == PCRE2_ERROR_NOMATCH) {
      if (extraFlags == 0) break;
      // An empty match was just found here: step over one character and go on.
      extraFlags = 0;
      if (from >= length) break;
      from += Utf8Length(static_cast<unsigned char>(s.subjectUtf8[from]));
      continue;
    }
    if (rc < 0) {  // rejected at match time or ran away: as if the search never ran
      s.offsets.clear();
      return false;
    }
    const PCRE2_SIZE* vector = pcre2_get_ovector_pointer(data.get());
    const size_t pairs = pcre2_get_ovector_count(data.get());
    for (size_t g = 0; g <= static_cast<size_t>(s.groups); ++g) {
      const bool set = g < pairs && g < static_cast<size_t>(rc) && vector[2 * g] != PCRE2_UNSET;
      s.offsets.push_back(set ? vector[2 * g] : PCRE2_UNSET);
      s.offsets.push_back(set ? vector[2 * g + 1] : PCRE2_UNSET);
    }
    if (!options.global) break;
    from = vector[1];
    extraFlags = vector[0] == vector[1] ? (PCRE2_NOTEMPTY_ATSTART | PCRE2_ANCHORED) : 0;
  }
  s.matchCount = static_cast<int>(s.offsets.size() / s.Stride());
  s.hasMatches = true;
  return true;
}

std::string RegexObject::GetPattern() const { return state_->searched ? state_->pattern : ""; }

int RegexObject::MatchCount() const { return state_->Count(); }

std::string RegexObject::MatchText(int matchNumber, int* position) const {
  return state_->Group(matchNumber, 0, position);
}

std::string RegexObject::SubmatchText(int matchNumber, int submatchNumber, int* position) const {
  // Submatches count from 1: number 0 is outside the collection, not the whole match.
  return state_->Group(matchNumber, submatchNumber < 1 ? -1 : submatchNumber, position);
}

int RegexObject::SubmatchCount() const { return state_->Count() > 0 ? state_->groups : 0; }

std::string RegexObject::ReplaceMatches(std::string_view replacement) const {
  const State& s = *state_;
  if (!s.hasMatches) return "";
  // Replacement escapes as the script engines read them: $$, $&, $`, $', $n and $nn.
  const std::string with = GbkToUtf8(replacement);
  const std::string_view subject = s.subjectUtf8;
  std::string result;
  PCRE2_SIZE copied = 0;
  for (int m = 1; m <= s.Count(); ++m) {
    PCRE2_SIZE start = 0;
    PCRE2_SIZE end = 0;
    s.Span(m, 0, &start, &end);
    result.append(subject.substr(copied, start - copied));
    for (size_t i = 0; i < with.size(); ++i) {
      const char c = with[i];
      const char next = i + 1 < with.size() ? with[i + 1] : '\0';
      if (c != '$' || next == '\0') {
        result.push_back(c);
      } else if (next == '$') {
        result.push_back('$');
        ++i;
      } else if (next == '&') {
        result.append(subject.substr(start, end - start));
        ++i;
      } else if (next == '`') {
        result.append(subject.substr(0, start));
        ++i;
      } else if (next == '\'') {
        result.append(subject.substr(end));
        ++i;
      } else if (next >= '0' && next <= '9') {
        int group = next - '0';
        size_t used = 1;
        const char third = i + 2 < with.size() ? with[i + 2] : '\0';
        if (third >= '0' && third <= '9' && group * 10 + (third - '0') <= s.groups &&
            group * 10 + (third - '0') > 0) {
          group = group * 10 + (third - '0');
          used = 2;
        }
        if (group < 1 || group > s.groups) {
          result.push_back(c);  // no such group: the text stays as written
          continue;
        }
        PCRE2_SIZE groupStart = 0;
        PCRE2_SIZE groupEnd = 0;
        if (s.Span(m, group, &groupStart, &groupEnd)) {
          result.append(subject.substr(groupStart, groupEnd - groupStart));
        }
        i += used;
      } else {
        result.push_back(c);
      }
    }
    copied = end;
  }
  result.append(subject.substr(copied));
  return Utf8ToGbk(result);
}

std::unique_ptr<RegexObject> RegexObject::Copy() const {
  auto copy = std::make_unique<RegexObject>();
  *copy->state_ = *state_;
  return copy;
}

void RegexObject::Destroy() { *state_ = State(); }
