// The look the report's page and chart share: their font at its sizes and
// the colours of the model in the chart and its legend.
#pragma once

#include <QColor>
#include <QFont>

#include "chart/Canvas.h"

// Point sizes: the page's title, its headings, its text, and the small
// print of tables, chart labels and the footer.
constexpr double ReportTitlePoints = 14;
constexpr double ReportHeadingPoints = 10.5;
constexpr double ReportTextPoints = 9;
constexpr double ReportSmallPoints = 8;

// The chart's font (Arial, or the sans-serif font standing in for it, as
// Liberation Sans does on Linux) at points.
inline QFont ReportFont(double points, bool bold = false) {
  QFont font = CanvasFont(QStringLiteral("Arial"), 10);
  font.setPointSizeF(points);
  font.setBold(bold);
  return font;
}

const QColor ReportCurveColour(31, 78, 156);
const QColor ReportStaircaseColour(178, 34, 34);
const QColor ReportSmoothModelColour(34, 139, 34);
