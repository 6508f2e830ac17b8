#include "app/FileNames.h"

#include <QDate>
#include <QLocale>
#include <algorithm>

QString TodayText() { return QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat); }

QString NamePart(const QString& path) {
  const qsizetype cut = std::max({path.lastIndexOf('\\'), path.lastIndexOf('/'), path.lastIndexOf(':')});
  return path.mid(cut + 1);
}

QString WithDataFileExtension(const QString& path) {
  return NamePart(path).contains('.') ? path : path + ".rxd";
}
