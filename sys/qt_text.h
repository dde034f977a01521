#pragma once
// The one place where texts (code page 936 bytes) meet Qt's QString. Every widget text, window
// title and Qt path passes through here; nothing else converts between the two.

#include <string>
#include <string_view>

#include <QString>

// A code page 936 text as a QString (up to its first zero byte).
QString ToQString(std::string_view text);

// A QString as a code page 936 text; characters code page 936 lacks become "?".
std::string FromQString(const QString& string);
