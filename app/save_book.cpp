#include "app/save_book.h"

#include "sys/file_write.h"
#include "sys/paths.h"
#include "text/safe_file_name.h"
#include "text/text_find.h"

namespace {

// True when the last character of `text` is `separator`. Searched from the start so that a
// "\" which is the second byte of a double-byte character does not count.
bool EndsWithSeparator(std::string_view text, std::string_view separator) {
  const int last = static_cast<int>(text.size());
  for (int at = TextFind(text, separator); at != -1; at = TextFind(text, separator, at + 1)) {
    if (at == last) return true;
  }
  return false;
}

std::string DownloadFailure(const DownloadStatus& status, const Bytes& bytes) {
  if (status.transferFailed) return "下载失败：" + status.error;
  if (status.httpStatus < 200 || status.httpStatus > 299) {
    return "下载失败：HTTP " + std::to_string(status.httpStatus);
  }
  if (bytes.empty()) return "下载失败：没有收到任何数据";
  return {};
}

}  // namespace

std::string BookFilePath(std::string_view directory, std::string_view bookName) {
  const std::string name = SafeFileName(bookName);
  if (name.empty()) return {};
  std::string path(directory);
  if (!path.empty() && !EndsWithSeparator(path, "/") && !EndsWithSeparator(path, "\\")) {
    path += kPathSeparator;
  }
  return path + name + ".txt";
}

SavedBook DownloadAndSaveBook(std::string_view address, std::string_view directory,
                              std::string_view bookName, const DownloadProgress& progress) {
  SavedBook result;
  result.address = address;
  result.path = BookFilePath(directory, bookName);
  if (result.path.empty()) {
    result.failure = SaveFailure::kUnusableName;
    result.notice = "书名无法用作文件名！";
    return result;
  }
  DownloadStatus status;
  const Bytes bytes = DownloadWhole(result.address, &status, progress);
  result.notice = DownloadFailure(status, bytes);
  if (!result.notice.empty()) {
    result.failure = SaveFailure::kDownload;
    return result;
  }
  std::string reason;
  if (!WriteWholeFile(result.path, bytes, &reason)) {
    result.failure = SaveFailure::kWrite;
    result.notice = "保存失败：" + reason;
  }
  return result;
}
