#pragma once
// A counted byte buffer: HTTP bodies and downloaded files. Texts are std::string holding
// code page 936 bytes; a Bytes value is raw data with no code page.

#include <string>
#include <string_view>
#include <vector>

using Bytes = std::vector<unsigned char>;

// The bytes of a buffer viewed as characters (no copy).
inline std::string_view BytesView(const Bytes& bytes) {
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

inline Bytes ToBytes(std::string_view text) { return Bytes(text.begin(), text.end()); }
