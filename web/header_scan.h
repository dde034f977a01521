#pragma once
// Reading a response's raw header block: the redirect target and the cookies it set. The
// block is bytes from the network and may hold anything; these never fail.

#include <cstddef>
#include <string>
#include <string_view>

// A header block larger than this ends the transfer as a failure.
inline constexpr std::size_t kMaxHeaderBlockBytes = std::size_t{1} << 20;

// `responseCookies` becomes the name=value part of every line that holds "Set-Cookie" (up to
// its first ";", or the whole trimmed rest when none follows), joined by "; ". `location`
// becomes the value of the last line whose field name is "Location" (any letter case); when
// it is still empty after that, it becomes a copy of `rawHeaders`.
void ScanResponseHeaders(std::string_view rawHeaders, std::string& location,
                         std::string& responseCookies);

// The raw header block of the final response, built from header lines as they arrive: each
// line ended by CR LF, then one more CR LF. A status line starts a new block, so earlier
// responses of a redirect chain (and interim 1xx answers) are dropped; lines after the block's
// blank line (trailers) are ignored.
class RawHeaderBlock {
 public:
  // One line as received, with or without its line end. False once the block would grow
  // past kMaxHeaderBlockBytes.
  bool AddLine(std::string_view line);

  const std::string& Text() const { return text_; }

 private:
  std::string text_;
  bool complete_ = false;
};
