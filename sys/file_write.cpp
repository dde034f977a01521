#include "sys/file_write.h"

#include <QFile>
#include <QSaveFile>

#include "sys/paths.h"
#include "sys/qt_text.h"

namespace {

QString QtPath(std::string_view pathText) {
  const std::filesystem::path native = NativePath(pathText);
#ifdef _WIN32
  return QString::fromStdWString(native.native());
#else
  return QFile::decodeName(native.c_str());
#endif
}

bool Fail(const QSaveFile& file, std::string* failure) {
  if (failure) *failure = FromQString(file.errorString());
  return false;
}

}  // namespace

bool WriteWholeFile(std::string_view pathText, std::string_view bytes, std::string* failure) {
  if (pathText.empty()) {
    if (failure) *failure = "empty path";
    return false;
  }
  // QSaveFile writes a temporary file beside the target, syncs it and renames it over the
  // target on commit; a failed or abandoned save removes the temporary file.
  QSaveFile file(QtPath(pathText));
  if (!file.open(QIODevice::WriteOnly)) return Fail(file, failure);
  const qint64 size = static_cast<qint64>(bytes.size());
  // An uncommitted QSaveFile removes its temporary file when it goes out of scope.
  if (size > 0 && file.write(bytes.data(), size) != size) return Fail(file, failure);
  if (!file.commit()) return Fail(file, failure);
  if (failure) failure->clear();
  return true;
}
