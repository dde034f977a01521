#include "sys/qt_text.h"

#include "text/code_page.h"

QString ToQString(std::string_view text) {
  const std::u16string wide = TextToWide(text, kCodePageGbk);
  const std::u16string_view units(wide.data(), wide.find(u'\0'));
  return QString(reinterpret_cast<const QChar*>(units.data()),
                 static_cast<qsizetype>(units.size()));
}

std::string FromQString(const QString& string) {
  return WideToText(std::u16string_view(reinterpret_cast<const char16_t*>(string.utf16()),
                                        static_cast<size_t>(string.size())),
                    kCodePageGbk);
}
