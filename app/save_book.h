#pragma once
// Downloading a book's file and saving it into the save directory: the one routine behind
// "下载" on the download panel, in the new-download dialog and on the command line. It runs
// on the calling thread and blocks it for the whole download. Texts are code page 936.

#include <string>
#include <string_view>

#include "web/download_whole.h"

enum class SaveFailure {
  kNone,
  kUnusableName,  // nothing usable is left of the book's name as a file name
  kDownload,      // the transfer failed, the status was not 2xx, or no byte arrived
  kWrite,         // the file could not be written
};

struct SavedBook {
  SaveFailure failure = SaveFailure::kNone;
  std::string address;  // the address as fetched ("http://" put in front when it had no scheme)
  std::string path;     // the file written, or the one meant when the download or write failed
  std::string notice;   // when it failed: what went wrong, ready to show to the user
  bool Saved() const { return failure == SaveFailure::kNone; }
};

// The file of `bookName` in `directory`: the directory text, a separator unless it is empty or
// already ends with "/" or "\", the name made safe as a file name (SafeFileName) and ".txt".
// An empty directory leaves the file in the working directory. "" when the name leaves nothing
// usable.
std::string BookFilePath(std::string_view directory, std::string_view bookName);

// Fetches `address` and writes exactly the bytes served to BookFilePath(directory, bookName),
// atomically. A refused name fetches nothing; a failed download (transfer failure, a status
// other than 2xx, an empty body) writes nothing; a failed write leaves any earlier file as it
// was and no temporary file. `progress` is handed to DownloadWhole.
SavedBook DownloadAndSaveBook(std::string_view address, std::string_view directory,
                              std::string_view bookName, const DownloadProgress& progress = {});
