// Documents at and beyond the editing rules, drawn at sizes from one pixel
// up: the chart must draw them all without failing, without a coordinate
// that is not a number, and with a range it can finish drawing.
#include <cmath>
#include <limits>
#include <string>

#include <QBuffer>
#include <QPainter>
#include <QSvgGenerator>

#include <gtest/gtest.h>

#include "Canvas.h"
#include "ChartDrawing.h"
#include "ChartTestSupport.h"

namespace {

constexpr double Infinity = std::numeric_limits<double>::infinity();
constexpr double NotANumber = std::numeric_limits<double>::quiet_NaN();

TResondixData ZerosEverywhere() {
  TResondixData d;
  d.ModelValid = true;  // even so: nothing to draw but the frame
  d.MeasurementsValid = true;
  return d;
}

TResondixData EditLimits() {
  TResondixData d = MakeDocument({{0, 1e-3}, {3099.99, 1e8}, {1e-3, 1e8}, {1, 1e-3}},
                                 {{1e-3, 1e-3}, {1e8, 0.002}, {1e-3, 9999.99}, {1e8, 0}}, true);
  return d;
}

TResondixData FifteenEqualSpacings() {
  TResondixData d = MakeDocument({}, {{85, 4}, {20, 0}}, true);
  d.SetMeasurementCount(MaxMeasurements);
  for (int i = 1; i <= MaxMeasurements; ++i) {
    d.HalfSpacing[i] = 12;
    d.ApparentRho[i] = 20 * std::pow(1.25, i);  // rows some 17 pixels apart
  }
  return d;
}

TResondixData LoadedOddValues() {
  // What a hand-edited file can hold: negative values, decreasing depths,
  // values near the ends of the double range.
  return MakeDocument({{-5, -3}, {1e300, 1e300}, {1e-300, 2}, {7, 5e-324}},
                      {{-40, 30}, {1e300, 2}, {1e-300, -8}, {2.5, 0}}, true);
}

TResondixData NotNumbers() {
  // Values no file can give, set in memory: the drawing still finishes.
  return MakeDocument({{NotANumber, 10}, {10, NotANumber}, {Infinity, 5}, {3, Infinity}},
                      {{NotANumber, 5}, {Infinity, NotANumber}, {7, 0}}, true);
}

TResondixData OneLayerWenner() {
  TResondixData d = MakeDocument({{1.5, 33}, {3, 35}}, {{34, 0}}, true);
  d.SetSoundingType(false);
  return d;
}

struct TOddCase {
  const char* Name;
  TResondixData (*Make)();
};

const TOddCase OddDocuments[] = {
    {"zeros everywhere", ZerosEverywhere},   {"edit limits", EditLimits},
    {"15 equal spacings", FifteenEqualSpacings}, {"loaded odd values", LoadedOddValues},
    {"not numbers", NotNumbers},             {"one layer, Wenner", OneLayerWenner},
};

const QSize OddSizes[] = {QSize(0, 0), QSize(1, 1), QSize(10, 10), QSize(79, 60), QSize(800, 600), QSize(3000, 140),
                          QSize(90, 1500)};

std::string SvgOf(TChartDrawing& chart, TResondixData& document, QSize size) {
  QBuffer buffer;
  QSvgGenerator svg;
  svg.setOutputDevice(&buffer);
  svg.setSize(size);
  svg.setResolution(StandardDotsPerInch);
  chart.Data = &document;
  chart.DrawWidth = size.width();
  chart.DrawHeight = size.height();
  QPainter painter(&svg);
  chart.DrawChart(painter);
  painter.end();
  return buffer.data().toLower().toStdString();
}

TEST(ChartRobustness, OddDocumentsDrawAtEverySize) {
  for (const TOddCase& row : OddDocuments) {
    for (const QSize size : OddSizes) {
      SCOPED_TRACE(std::string(row.Name) + " at " + std::to_string(size.width()) + "x" + std::to_string(size.height()));
      TResondixData document = row.Make();
      TChartDrawing chart;
      Render(chart, document, size.width(), size.height());
      EXPECT_GE(chart.DecadeCount, 3);
      EXPECT_LE(chart.DecadeCount, 801);
      EXPECT_GE(chart.TickX, 1);
      EXPECT_GE(chart.TickY, 1);
      for (int y = -20; y < size.height() + 20; y += 7)
        for (int x = -20; x < size.width() + 20; x += 7) chart.HitTestMeasurement(x, y);
    }
  }
}

TEST(ChartRobustness, VectorOutputHasOnlyNumbers) {
  // SVG writes every coordinate as a number: none may be "nan" or "inf".
  for (const TOddCase& row : OddDocuments) {
    for (const QSize size : {QSize(0, 0), QSize(79, 60), QSize(800, 600)}) {
      SCOPED_TRACE(std::string(row.Name) + " at " + std::to_string(size.width()) + "x" + std::to_string(size.height()));
      TResondixData document = row.Make();
      TChartDrawing chart;
      const std::string svg = SvgOf(chart, document, size);
      EXPECT_NE(svg.find("<svg"), std::string::npos);
      EXPECT_EQ(svg.find("nan"), std::string::npos);
      EXPECT_EQ(svg.find("inf"), std::string::npos);
    }
  }
}

TEST(ChartRobustness, FifteenEqualSpacingsAreACrossAndFourteenDiamonds) {
  TResondixData document = FifteenEqualSpacings();
  document.ModelValid = false;  // the curve would cross the symbols
  TChartDrawing chart;
  const QImage image = Render(chart, document, 800, 600);
  const int x = chart.SpacingToX(12);
  int crosses = 0;
  int diamonds = 0;
  for (int i = 1; i <= MaxMeasurements; ++i) {
    const int y = chart.RhoToY(document.ApparentRho[i]);
    // A cross has its centre set, a diamond is hollow.
    if (IsBlack(image, x, y) && IsBlack(image, x - chart.SymbolHalfWidth, y) &&
        IsBlack(image, x + chart.SymbolHalfWidth - 1, y))
      ++crosses;
    else if (!IsBlack(image, x, y) && IsBlack(image, x - chart.SymbolHalfWidth, y) &&
             IsBlack(image, x + chart.SymbolHalfWidth, y))
      ++diamonds;
  }
  EXPECT_EQ(crosses, 1);
  EXPECT_EQ(diamonds, 14);
}

TEST(ChartRobustness, HugeRangeStaysBounded) {
  // The smallest and the largest positive doubles: some 633 decades, all
  // drawn (each less than a pixel high), and the layout still holds.
  TResondixData document = MakeDocument({{2, 5e-324}, {3, 1.7e308}}, {{1, 0}}, true);
  TChartDrawing chart;
  const QImage image = Render(chart, document, 800, 600);
  EXPECT_EQ(chart.DecadeCount, 633);
  EXPECT_TRUE(IsBlack(image, chart.LeftMargin, chart.PlotBottom));
  EXPECT_TRUE(IsBlack(image, chart.PlotRight(), chart.TopMargin));
}

}  // namespace
