#pragma once
// The long book for benchmarks: code page 936 prose made line by line from the line's number,
// so any byte range can be produced on its own, in any order, always with the same bytes.

#include <cstddef>
#include <cstdint>
#include <string>

// Every line holds this many bytes: two full-width spaces, 37 characters, CR LF; only the
// last line is shorter when the size asks for it.
inline constexpr std::uint64_t kGeneratedLineBytes = 80;

// Appends bytes [offset, offset + length) of a generated book of `totalBytes` bytes to `out`;
// the range is cut at the book's end.
void AppendGeneratedBytes(std::uint64_t offset, std::size_t length, std::uint64_t totalBytes,
                          std::string& out);
