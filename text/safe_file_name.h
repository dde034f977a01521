#pragma once

#include <string>
#include <string_view>

// A book name made safe to join to a save directory: path separators, the characters Windows
// forbids in file names (\ / : * ? " < > |), control characters and bytes that are no code
// page 936 character (a lead byte without its trail byte) become "_"; leading and trailing
// dots and spaces go; the name is cut to fit a file name with ".txt". "" when nothing usable
// is left (the caller refuses the name). The result never contains a separator byte, not
// even after a lead byte, and is never "." or "..".
std::string SafeFileName(std::string_view name);
