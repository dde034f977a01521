#pragma once
// Checks shared by the two result-pattern targets: what a RegexObject promises about its
// matches, whatever the page.

#include <string_view>

class RegexObject;

// Match and submatch numbering, the "outside" answers, positions inside the page, and for a
// valid code page 936 page that every text is the page's own bytes at its position.
void CheckResultMatches(const RegexObject& regex, std::string_view page);
