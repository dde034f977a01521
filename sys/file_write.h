#pragma once
// Whole-file writes that never leave a half-written file: the bytes go to a temporary file in
// the target's folder, which then replaces the target in one rename.

#include <string>
#include <string_view>

#include "text/bytes.h"

// Creates or replaces the file at `pathText` (code page 936) with exactly `bytes`. On failure
// returns false, leaves any earlier file as it was and no temporary file behind, and puts a
// short reason (code page 936) into `failure` when given.
bool WriteWholeFile(std::string_view pathText, std::string_view bytes,
                    std::string* failure = nullptr);

inline bool WriteWholeFile(std::string_view pathText, const Bytes& bytes,
                           std::string* failure = nullptr) {
  return WriteWholeFile(pathText, BytesView(bytes), failure);
}
