#pragma once
// Icons drawn as PNG files, one file per size.

#include <initializer_list>

#include <QIcon>
#include <QString>

// The icon made of the PNG files `pattern` names with its "%1" replaced by each of `sizes`
// (":/icons/novelfetch-%1.png"). The files are read as PNG without asking every image-format
// plugin whether it knows them first: that loads each plugin (and libjpeg) on the way to
// the first window. A file that cannot be read leaves its size out.
QIcon PngIcon(const QString& pattern, std::initializer_list<int> sizes);
