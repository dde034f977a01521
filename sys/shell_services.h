#pragma once
// The shell's folder browser and its "open" verb for web pages.

#include <string>
#include <string_view>

// Lets the user pick a folder (the program's windows are disabled meanwhile); the chosen
// folder as a code page 936 path without a trailing separator, "" when cancelled.
std::string BrowseForFolder(std::string_view title);

// Opens `address` in the default browser; a bare host or path gets "http://" in front.
// False when nothing was opened (an empty address, or no browser could be started).
bool OpenWebPage(std::string_view address);
