#pragma once
// What the demo site serves and which faults it plays. Every field has a bound; Bounded()
// clamps a whole set so that no switch can make the site hang or run out of memory.

#include <cstdint>
#include <string>

inline constexpr std::uint64_t kDefaultLargeBookBytes = 20ull * 1024 * 1024;
inline constexpr std::uint64_t kMaxLargeBookBytes = 2ull * 1024 * 1024 * 1024;
inline constexpr int kMaxSearchResults = 100'000;
inline constexpr int kMaxDelayMs = 120'000;
inline constexpr int kMaxEmptyAnswers = 1'000'000;

struct DemoSiteOptions {
  // Host (and ":port") written into the addresses the pages print; "" = this server.
  std::string siteHost;  // book page addresses in the search results
  std::string fileHost;  // download links on the download pages

  std::uint64_t largeBookBytes = kDefaultLargeBookBytes;  // the generated book's size

  int emptySearchAnswers = 0;      // the first N search posts get an empty body
  int delayMs = 0;                 // search posts are answered after this many ms
  bool delayEveryRequest = false;  // ... and so is every other request
  bool refuseConnections = false;  // nobody listens: connections are refused
  bool dropMidBody = false;        // downloads: the connection closes halfway through
  int downloadStatus = 0;          // 404 or 500: every download answers with it
  bool redirectLoop = false;       // every request is redirected back to itself
  bool hugeHeaders = false;        // every response carries more than 1 MiB of header lines
  bool invalidUtf8 = false;        // the search page holds byte runs that are not UTF-8
  int searchResultCount = -1;      // 0..100000: the search page holds exactly that many rows
  bool hostileNames = false;       // the catalogue gains books named like hostile paths
  int downloadBytesPerSecond = 0;  // > 0: downloads trickle out at this rate
};

// `options` with every field inside its bounds (negative counts become 0, a status other
// than 404 or 500 becomes 0, sizes and delays are capped).
DemoSiteOptions Bounded(DemoSiteOptions options);
