#pragma once
// A fresh folder under the temporary-files folder for one test, removed afterwards.

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include <QTemporaryDir>

class TestFolder {
 public:
  // The folder as a native path and as a path text with a trailing separator.
  const std::filesystem::path& Native() const { return native_; }
  std::string Text() const { return native_.string() + "/"; }

  std::filesystem::path Write(const std::string& name, std::string_view bytes) const {
    const std::filesystem::path file = native_ / name;
    std::ofstream(file, std::ios::binary) << bytes;
    return file;
  }

  static std::string Read(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }

  // Names of the folder's entries, sorted.
  std::vector<std::string> Entries() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(native_)) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

 private:
  QTemporaryDir dir_;
  std::filesystem::path native_{dir_.path().toStdString()};
};
