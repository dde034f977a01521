// SafeFileName over arbitrary book names: what reaches the file system (the name's UTF-8
// form) stays inside the save folder.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/fuzz_support.h"
#include "text/code_page.h"
#include "text/safe_file_name.h"

namespace {

constexpr size_t kMaxUtf8Bytes = 240;  // room for ".txt" in a 255-byte file name
constexpr std::string_view kForbidden = "/\\:*?\"<>|";

bool IsControl(unsigned char c) { return c < 0x20 || c == 0x7F; }

bool IsTrimmedAtEnd(std::string_view text) {
  return text.front() == '.' || text.front() == ' ' || text.back() == '.' || text.back() == ' ';
}

void CheckNative(std::string_view safe) {
  const std::string native = GbkToUtf8(safe);
  FUZZ_CHECK(native.find_first_of("/\\") == std::string::npos,
             "a separator in the name's UTF-8 form", HexDump(native));
  FUZZ_CHECK(native != "." && native != "..", "the UTF-8 form names a folder", HexDump(native));
  FUZZ_CHECK(native.size() <= kMaxUtf8Bytes, "the UTF-8 form is too long for a file name",
             std::to_string(native.size()));
  if (native.empty()) return;
  FUZZ_CHECK(!IsTrimmedAtEnd(native), "a dot or space at an end of the UTF-8 form",
             HexDump(native));
  for (char c : native) {
    const auto byte = static_cast<unsigned char>(c);
    FUZZ_CHECK(!IsControl(byte) && kForbidden.find(c) == std::string_view::npos,
               "a forbidden character in the UTF-8 form", HexDump(native));
  }
}

// A name that is already fine (valid code page 936 characters, nothing forbidden, no dot or
// space at either end, short enough) is kept as it is. A lone 0xFF is mapped by the
// converter to a private-use character but is no character of the code page: it may go.
bool IsAlreadySafe(std::string_view name) {
  if (name.empty() || !IsCp936Text(name) || IsTrimmedAtEnd(name)) return false;
  if (name.starts_with("\xA1\xA1") || name.ends_with("\xA1\xA1")) return false;  // "　"
  size_t cost = 0;
  for (size_t i = 0; i < name.size(); ++i) {
    const auto byte = static_cast<unsigned char>(name[i]);
    if (byte == 0xFF) return false;
    if (byte >= 0x80) {
      cost += 3;
      if (byte > 0x80) ++i;  // a double-byte character; 0x80 alone is the euro sign
      continue;
    }
    if (IsControl(byte) || kForbidden.find(name[i]) != std::string_view::npos) return false;
    cost += 1;
  }
  return cost <= kMaxUtf8Bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view name(reinterpret_cast<const char*>(data), size);
  const std::string safe = SafeFileName(name);
  FUZZ_CHECK(safe.find('/') == std::string::npos, "a slash in the safe name", HexDump(safe));
  FUZZ_CHECK(safe != "." && safe != "..", "the safe name names a folder", HexDump(safe));
  FUZZ_CHECK(safe.find('\0') == std::string::npos, "a zero byte in the safe name", HexDump(safe));
  CheckNative(safe);
  FUZZ_CHECK(SafeFileName(safe) == safe, "a safe name is not kept as it is", HexDump(safe));
  if (IsAlreadySafe(name)) {
    FUZZ_CHECK(safe == name, "a harmless name was changed", HexDump(name) + " -> " + HexDump(safe));
  }
  return 0;
}
