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

QString ImportedDataFileName(const QString& path) {
  const QString name = NamePart(path);
  const qsizetype dot = name.lastIndexOf('.');
  const QString folder = path.left(path.size() - name.size());
  return folder + (dot < 0 ? name : name.left(dot)) + ".rxd";
}
