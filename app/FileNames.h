// The file names and dates the file commands make: the name part of a path,
// the extension Save As adds, and today's date in the user's short date
// format. The data-file name of an imported file is the document's
// (ImportedDataFileName).
#pragma once

#include <QString>

// Today's date in the user's short date format.
QString TodayText();

// The name part of a path: the text after the last "\", "/" or ":".
QString NamePart(const QString& path);
// Save As: a chosen path whose name part has no "." gets ".rxd".
QString WithDataFileExtension(const QString& path);
