#pragma once
// One regular-expression search over a code page 936 text, then its matches and submatches
// by number (both from 1). The syntax and options are those of the script engines' RegExp:
// lazy quantifiers, numbered groups, "[\s\S]" to cross lines, a dot that never matches a
// line break. Nothing throws: a rejected pattern or a search that runs away (a match limit
// stops catastrophic backtracking) leaves the object as before any search (count 0, "").

#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct RegexOptions {
  bool caseSensitive = false;  // IgnoreCase is its negation
  bool multiLine = true;       // ^ and $ at every line
  bool global = true;          // every match, not only the first
  bool quoteToken = false;     // "#引号" in the pattern stands for a double quote
};

class RegexObject {
 public:
  RegexObject();
  ~RegexObject();
  RegexObject(const RegexObject&) = delete;
  RegexObject& operator=(const RegexObject&) = delete;

  // Runs the search and keeps its results; true when the search ran (even with no match).
  bool Search(std::string_view pattern, std::string_view subject, RegexOptions options = {});

  // Search for a caller that already holds the subject's UTF-8 form: `subjectUtf8` must be
  // what GbkToUtf8(subject, utf8) writes when it returns true, and `subject` holds no zero
  // byte. The same results as Search, without converting the subject again. The object takes
  // the UTF-8 form and leaves in `subjectUtf8` the storage of its previous one (contents
  // unspecified), for the caller's next conversion.
  bool SearchConverted(std::string_view pattern, std::string_view subject, std::string& subjectUtf8,
                       RegexOptions options = {});

  void NoOp() {}

  // The effective pattern of the last search ("" before any search).
  std::string GetPattern() const;

  // The last subject with the last search's matches replaced ($1..$99, $&, $`, $', $$).
  std::string ReplaceMatches(std::string_view replacement = "") const;

  int MatchCount() const;

  // Text of match `matchNumber`; "" outside the matches. `position`, when given, receives the
  // match's 0-based byte offset in the code page 936 subject, or -2 when there is no match.
  std::string MatchText(int matchNumber, int* position = nullptr) const;

  // Text of group `submatchNumber` (from 1) of match `matchNumber`; "" for a group that took
  // no part and for a number outside the groups. `position` as for MatchText, for the group
  // (the match's when the group took no part; -2 also when the group number is outside).
  std::string SubmatchText(int matchNumber, int submatchNumber, int* position = nullptr) const;

  // Number of capturing groups, when the last search found at least one match; else 0.
  int SubmatchCount() const;

  // An independent object holding the same pattern, subject and results.
  std::unique_ptr<RegexObject> Copy() const;

  // Releases the pattern, the results and the subject; the object is then as constructed.
  void Destroy();

 private:
  // The search itself, once the subject and its UTF-8 form are in place.
  bool Run(std::string_view pattern, const RegexOptions& options);

  struct State;
  std::unique_ptr<State> state_;
};
