#pragma once
// Folding the cookies a response set into the caller's cookie text. Pieces are separated by
// ";"; the merged text lists the response's cookies first, then the old ones it did not name,
// and drops every piece whose value is "deleted".

#include <string>
#include <string_view>
#include <vector>

// The part of a piece before its first "=", trimmed (the whole piece when it has none).
std::string CookieName(std::string_view piece);

// True when some piece of `pieces` has exactly the cookie name `name`.
bool HasCookieName(const std::vector<std::string>& pieces, std::string_view name);

// `cookies` becomes the merged text and `responseCookies` loses every space; returns a copy
// of the merged text.
std::string MergeCookies(std::string& cookies, std::string& responseCookies);
