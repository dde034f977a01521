#pragma once
// The rows of the fault matrix, shared by the window tests and the command-line tests: each
// names a fault (of the demo site, of the save folder or of a book's name) and what the user
// must see. docs/reliability.md lists the same rows with the tests that check them.

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "demo/demo_site.h"
#include "tests/faults/read_only_folder.h"
#include "tests/sys/test_folder.h"

namespace faults {

// UTF-8 bytes of a u8 literal, whatever the narrow literals' code page.
inline std::string Utf8(std::u8string_view text) { return std::string(text.begin(), text.end()); }

using Switch = void (*)(DemoSiteOptions&);

// Turns `apply` on for the running site.
inline bool Apply(DemoSite& site, Switch apply) {
  DemoSiteOptions options = site.Options();
  apply(options);
  return site.SetOptions(options);
}

// --- the search ---

// Faults the site never gets over: the search keeps trying, about once a second, and never
// ends by itself.
struct EndlessSearchFault {
  const char* label;
  Switch apply;
  bool postsReachTheSite;  // false: no post ever arrives (nobody listens)
};

inline const std::vector<EndlessSearchFault>& EndlessSearchFaults() {
  static const std::vector<EndlessSearchFault> rows = {
      {"Refused", [](DemoSiteOptions& o) { o.refuseConnections = true; }, false},
      {"EmptyForEver", [](DemoSiteOptions& o) { o.emptySearchAnswers = kMaxEmptyAnswers; }, true},
      {"RedirectLoop", [](DemoSiteOptions& o) { o.redirectLoop = true; }, true},
      {"HeadersOver1MiB", [](DemoSiteOptions& o) { o.hugeHeaders = true; }, true},
  };
  return rows;
}

// Faults after which a page still comes: the rows it holds are shown.
struct PageFault {
  const char* label;
  Switch apply;
  std::string keyword;    // UTF-8
  int attempts;           // the attempt that gets the page; 0: not checked
  int rows;               // rows shown
  std::string firstName;  // UTF-8: the first row's name
};

inline constexpr int kManyResults = 100'000;

inline const std::vector<PageFault>& PageFaults() {
  static const std::vector<PageFault> rows = {
      {"AnswersAfter2500Ms", [](DemoSiteOptions& o) { o.delayMs = 2500; }, Utf8(u8"西游"), 3, 1,
       Utf8(u8"西游记")},
      {"InvalidUtf8", [](DemoSiteOptions& o) { o.invalidUtf8 = true; }, Utf8(u8"红楼"), 1, 1,
       Utf8(u8"红楼梦")},
      // Making and sending the page may take over a second on a busy machine, and then the
      // next attempts start meanwhile: their number is not the row's point.
      {"HundredThousandResults", [](DemoSiteOptions& o) { o.searchResultCount = kManyResults; },
       Utf8(u8"红楼"), 0, kManyResults, Utf8(u8"红楼梦")},
  };
  return rows;
}

// ThreadSanitizer slows every step of the program many times over: a 100,000-result page then
// takes longer to arrive than the search's attempts last, and the row would measure the
// sanitizer rather than the program. The other builds run it.
#if defined(__SANITIZE_THREAD__)
inline bool TooSlowHere(const PageFault& row) { return row.rows == kManyResults; }
#else
inline bool TooSlowHere(const PageFault&) { return false; }
#endif
inline constexpr const char* kTooSlowHere =
    "a 100,000-result page is too slow under ThreadSanitizer";

// The bytes the demo site puts into every introduction with invalidUtf8 on: two stray bytes,
// then a sequence cut off after its second byte.
inline constexpr std::string_view kNotUtf8 = "\xFF\xFE\xE6\x90";

// --- the download ---

inline constexpr std::uint64_t kTwoHundredMegabytes = 200'000'000;

// Faults of the file server: the download fails, nothing is written.
struct DownloadFault {
  const char* label;
  Switch apply;
  std::string book;    // UTF-8: the book downloaded
  std::string reason;  // a piece of the failure text, ASCII ("" when it is libcurl's words)
};

inline const std::vector<DownloadFault>& DownloadFaults() {
  static const std::vector<DownloadFault> rows = {
      {"Refused", [](DemoSiteOptions& o) { o.refuseConnections = true; }, Utf8(u8"红楼梦"), ""},
      {"ClosedMidBody", [](DemoSiteOptions& o) { o.dropMidBody = true; }, Utf8(u8"红楼梦"), ""},
      {"Status404", [](DemoSiteOptions& o) { o.downloadStatus = 404; }, Utf8(u8"红楼梦"),
       "HTTP 404"},
      {"Status500", [](DemoSiteOptions& o) { o.downloadStatus = 500; }, Utf8(u8"红楼梦"),
       "HTTP 500"},
      {"RedirectLoop", [](DemoSiteOptions& o) { o.redirectLoop = true; }, Utf8(u8"红楼梦"), ""},
      {"HeadersOver1MiB", [](DemoSiteOptions& o) { o.hugeHeaders = true; }, Utf8(u8"红楼梦"), ""},
      {"Interrupted200MBHalfWay",
       [](DemoSiteOptions& o) {
         o.largeBookBytes = kTwoHundredMegabytes;
         o.dropMidBody = true;
       },
       Utf8(u8"演示长卷"), ""},
  };
  return rows;
}

// The large book's size must be set before the search lists it (the size is on the page).
inline void SizeLargeBook(DemoSite& site) {
  Apply(site, [](DemoSiteOptions& o) { o.largeBookBytes = kTwoHundredMegabytes; });
}

// --- the save folder ---

enum class FolderFault { kMissing, kReadOnly, kFileInItsPlace };

struct FolderFaultRow {
  const char* label;
  FolderFault fault;
};

inline const std::vector<FolderFaultRow>& FolderFaults() {
  static const std::vector<FolderFaultRow> rows = {
      {"Missing", FolderFault::kMissing},
      {"ReadOnly", FolderFault::kReadOnly},
      {"FileInItsPlace", FolderFault::kFileInItsPlace}};
  return rows;
}

// A save folder with the fault, inside `root`. The read-only folder holds an earlier copy of
// the book `bookFile` (UTF-8 file name) that must survive.
class BrokenSaveFolder {
 public:
  BrokenSaveFolder(const std::filesystem::path& root, FolderFault fault,
                   const std::string& bookFile) {
    switch (fault) {
      case FolderFault::kMissing:
        folder_ = root / "missing";
        break;
      case FolderFault::kReadOnly:
        folder_ = root / "read-only";
        std::filesystem::create_directory(folder_);
        std::ofstream(folder_ / bookFile, std::ios::binary) << "the reader's own copy";
        readOnly_ = std::make_unique<ReadOnlyFolder>(folder_);
        break;
      case FolderFault::kFileInItsPlace:
        folder_ = root / "not-a-folder";
        std::ofstream(folder_, std::ios::binary) << "a file where the folder should be";
        break;
    }
  }

  // The folder as the user gives it: a native path with a trailing separator.
  std::string Directory() const { return folder_.string() + "/"; }
  // Why the fault could not be set up here; "" when it is in place.
  std::string Unavailable() const { return readOnly_ ? readOnly_->Why() : std::string(); }

 private:
  std::filesystem::path folder_;
  std::unique_ptr<ReadOnlyFolder> readOnly_;
};

// --- the book's name ---

// A name the site gives a book, and the file it is saved as ("" when it is refused).
struct HostileName {
  const char* label;
  std::string name;  // UTF-8
  std::string file;  // UTF-8
};

inline std::string Repeated(std::string_view piece, int times) {
  std::string text;
  for (int i = 0; i < times; ++i) text += piece;
  return text;
}

inline const std::vector<HostileName>& HostileNames() {
  static const std::vector<HostileName> rows = {
      {"ParentSteps", "../../evil", "_.._evil.txt"},
      {"BackslashParentSteps", "..\\..\\evil", "_.._evil.txt"},
      {"AbsolutePath", "/etc/passwd", "_etc_passwd.txt"},
      {"ForbiddenCharacters", "a:b*c?", "a_b_c_.txt"},
      {"CrLfInside", "evil\r\nname", "evil__name.txt"},
      // 300 bytes of UTF-8; the file name keeps 80 characters (240 bytes) and ".txt".
      {"ThreeHundredBytes", Repeated(Utf8(u8"长"), 100), Repeated(Utf8(u8"长"), 80) + ".txt"},
      {"OnlyDots", "..", ""},
  };
  return rows;
}

// --- what is on disk ---

// Every file under a folder with its bytes, and every folder, by relative path: two equal
// snapshots mean nothing was lost, changed, half-written or left behind.
using FolderSnapshot = std::map<std::string, std::string>;

inline FolderSnapshot Snapshot(const std::filesystem::path& root) {
  FolderSnapshot files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
    const std::string relative = entry.path().lexically_relative(root).string();
    files[relative] = entry.is_directory() ? "<folder>" : TestFolder::Read(entry.path());
  }
  return files;
}

// Prints a snapshot's paths only, so a failure does not print a whole book.
inline std::string Paths(const FolderSnapshot& snapshot) {
  std::string paths;
  for (const auto& [path, bytes] : snapshot)
    paths += path + " (" + std::to_string(bytes.size()) + ")\n";
  return paths;
}

// Table rows print as their labels.
inline void PrintTo(const EndlessSearchFault& row, std::ostream* out) { *out << row.label; }
inline void PrintTo(const PageFault& row, std::ostream* out) { *out << row.label; }
inline void PrintTo(const DownloadFault& row, std::ostream* out) { *out << row.label; }
inline void PrintTo(const FolderFaultRow& row, std::ostream* out) { *out << row.label; }
inline void PrintTo(const HostileName& row, std::ostream* out) { *out << row.label; }

}  // namespace faults
