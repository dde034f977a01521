#pragma once

#include <string>
#include <string_view>

// A book name made safe to join to a save directory: path separators, the characters Windows
// forbids in file names (\ / : * ? " < > |) and control characters become "_", leading and
// trailing dots and spaces go. "" when nothing usable is left (the caller refuses the name).
// The result never contains a separator and is never "." or "..".
std::string SafeFileName(std::string_view name);
