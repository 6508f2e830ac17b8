// The chart's numbers before any pixel: the vertical range a document gets,
// the layout for a target size (screen and printer), the mapping from
// values to pixels and the decade labels. Expected values are worked out by
// hand from the layout rules with ln v / 2.3026 as the logarithm.
#include <cmath>

#include <gtest/gtest.h>

#include "ChartDrawing.h"
#include "ChartTestSupport.h"

namespace {

struct TRangeCase {
  const char* Name;
  TResondixData Document;
  int FirstDecade;
  int DecadeCount;
};

TEST(ChartValueRange, DecadesFollowTheDataWithAtLeastThree) {
  const TRangeCase rows[] = {
      // A new document: every value 0, so 0.001 .. 1.
      {"new document", TResondixData(), -3, 4},
      // L(1) - 0.5 is -0.5 exactly, which rounds to the even 0.
      {"smallest exactly 1", MakeDocument({{2, 1}, {3, 3.7}}, {{2.2, 0}}, false), 0, 3},
      // L(100) = 1.99998..., so 1.49998... rounds to 1.
      {"smallest exactly 100", MakeDocument({{2, 100}, {3, 420}}, {{230, 0}}, false), 1, 3},
      // 1000 lands on the unlabelled top boundary.
      {"10 to 1000", MakeDocument({{2, 10}, {3, 1000}}, {{55, 0}}, false), 0, 3},
      {"under three decades grows upward", MakeDocument({{2, 23.5}, {3, 61}}, {{40, 0}}, false), 1, 3},
      {"wide range", MakeDocument({{2, 0.037}, {3, 58000}}, {{4.1, 0}}, false), -2, 7},
      {"empty row pulls down to 0.001", MakeDocument({{2, 120}, {3, 0}, {4, 80}}, {{95, 0}}, false), -3, 6},
      {"largest below 1 is lifted to 1", MakeDocument({{2, 0.2}, {3, 0.5}}, {{0.3, 0}}, false), -1, 3},
      {"layers widen without a valid model", MakeDocument({{2, 50}, {3, 70}}, {{50000, 0}}, false), 1, 4},
      {"layers widen with a valid model", MakeDocument({{2, 50}, {3, 70}}, {{0.02, 3}, {60, 0}}, true), -2, 4},
      {"edit limits 1e-3 and 1e8", MakeDocument({{2, 1e-3}, {3, 1e8}}, {{1e-3, 4}, {1e8, 0}}, true), -3, 11},
      {"loaded negative and huge values", MakeDocument({{2, -5}, {3, 1e300}}, {{-7, 0}}, false), -3, 303},
      {"smallest and largest doubles", MakeDocument({{2, 5e-324}, {3, 1.7e308}}, {{1, 0}}, false), -324, 633},
  };
  for (const TRangeCase& row : rows) {
    SCOPED_TRACE(row.Name);
    TResondixData document = row.Document;
    TChartDrawing chart;
    chart.Data = &document;
    chart.ComputeValueRange();
    EXPECT_EQ(chart.FirstDecade, row.FirstDecade);
    EXPECT_EQ(chart.DecadeCount, row.DecadeCount);
  }
}

TEST(ChartValueRange, NewDocumentIsLabelledFromOneThousandthToOne) {
  TResondixData document;
  TChartDrawing chart;
  chart.Data = &document;
  chart.ComputeValueRange();
  EXPECT_EQ(chart.ValueMin, 0.001);
  EXPECT_EQ(chart.ValueMax, 1);
  const char* labels[] = {"1e-3", "1e-2", "0.1", "1"};
  for (int j = 0; j < chart.DecadeCount; ++j)
    EXPECT_EQ(TChartDrawing::DecadeLabel(chart.FirstDecade + j).toStdString(), labels[j]);
}

TEST(ChartValueRange, DecadeLabels) {
  const struct {
    int Exponent;
    const char* Text;
  } rows[] = {{-31, ""},      {-30, ""},     {-29, "1e-29"}, {-10, "1e-10"}, {-2, "1e-2"},
              {-1, "0.1"},    {0, "1"},      {1, "10"},      {2, "1e+2"},    {17, "1e+17"},
              {29, "1e+29"},  {30, ""},      {303, ""}};
  for (const auto& row : rows) EXPECT_EQ(TChartDrawing::DecadeLabel(row.Exponent).toStdString(), row.Text) << row.Exponent;
}

struct TLayoutCase {
  const char* Name;
  int Width;
  int Height;
  int DecadeCount;
  bool Printing;
  // Expected:
  int LeftMargin;
  int DecadeWidth;
  double PlotHeight;
  int PlotBottom;
  int TickX;
  int TickY;
};

// Pixel sizes are exact binary fractions or integers here, so the real
// numbers are compared to a rounding error of the arithmetic only.
constexpr double RealTolerance = 1e-9;

TEST(ChartLayout, SizesMarginsAndTicks) {
  const TLayoutCase rows[] = {
      // 575 * 0.9 = 517.5 rounds to the even 518.
      {"800 x 600", 800, 600, 3, false, 80, 213, 517.5, 543, 10, 9},
      {"odd size", 801, 601, 3, false, 80, 213, 518.4, 543, 10, 9},
      // 80.5 rounds to 80, 337.5 to 338.
      {"margin half to even down", 805, 400, 5, false, 80, 215, 337.5, 363, 10, 6},
      // 81.5 rounds to 82.
      {"margin half to even up", 815, 400, 3, false, 82, 217, 337.5, 363, 10, 6},
      // Narrower than 80 pixels: no tick length until the dotted grid
      // corrects it; 31.5 rounds to 32.
      {"narrow", 79, 60, 3, false, 8, 21, 31.5, 57, 0, 0},
      {"lower than the top margin", 30, 24, 3, false, 3, 8, -0.9, 24, 0, 0},
      {"1920 x 1080", 1920, 1080, 7, false, 192, 512, 949.5, 975, 24, 16},
      // Square decades: round(292.5) = 292, and 3 * 292 + 100 fits.
      {"printing square decades", 1000, 1000, 3, true, 100, 292, 877.5, 903, 12, 15},
      // round(412.5) = 412 would pass the right edge: the axis shrinks to
      // 1000 - 2 * 100 and the decades to round(800 / 3) = 267.
      {"printing falls back to the screen width", 1000, 1400, 3, true, 100, 267, 800, 825, 12, 13},
  };
  for (const TLayoutCase& row : rows) {
    SCOPED_TRACE(row.Name);
    TChartDrawing chart;
    chart.DrawWidth = row.Width;
    chart.DrawHeight = row.Height;
    chart.DecadeCount = row.DecadeCount;
    chart.Printing = row.Printing;
    chart.ComputeLayout();
    EXPECT_EQ(chart.LeftMargin, row.LeftMargin);
    EXPECT_EQ(chart.DecadeWidth, row.DecadeWidth);
    EXPECT_NEAR(chart.PlotHeight, row.PlotHeight, RealTolerance);
    EXPECT_NEAR(chart.DecadeHeight, row.PlotHeight / row.DecadeCount, RealTolerance);
    EXPECT_EQ(chart.PlotBottom, row.PlotBottom);
    EXPECT_EQ(chart.TickX, row.TickX);
    EXPECT_EQ(chart.TickY, row.TickY);
    EXPECT_EQ(chart.PlotRight(), row.LeftMargin + 3 * row.DecadeWidth);
    if (row.Printing) {
      EXPECT_EQ(chart.DecadeWidth, std::nearbyint(chart.DecadeHeight)) << "square decades";
    }
  }
}

TEST(ChartMapping, AxisEndsAndDecadesMapToTheFrame) {
  for (const QSize size : {QSize(800, 600), QSize(801, 601), QSize(333, 257), QSize(1920, 1080)}) {
    SCOPED_TRACE(std::to_string(size.width()) + "x" + std::to_string(size.height()));
    // In the program's logarithm 10^FirstDecade lies a hair off its
    // boundary (L(10) = 0.99998); with a first decade of 1 and these sizes
    // the hair does not change the rounding.
    TResondixData document = MakeDocument({{1.5, 14}, {30, 7300}}, {{130, 0}}, false);
    TChartDrawing chart;
    chart.Data = &document;
    chart.DrawWidth = size.width();
    chart.DrawHeight = size.height();
    chart.ComputeValueRange();
    chart.ComputeLayout();
    EXPECT_EQ(chart.SpacingToX(1), chart.LeftMargin);
    EXPECT_EQ(chart.SpacingToX(1000), chart.PlotRight());
    EXPECT_EQ(chart.LogSpacingToX(0), chart.LeftMargin);
    EXPECT_EQ(chart.LogSpacingToX(3), chart.PlotRight());
    EXPECT_EQ(chart.RhoToY(std::pow(10.0, chart.FirstDecade)), chart.PlotBottom);
    EXPECT_EQ(chart.LogRhoToY(chart.FirstDecade + chart.DecadeCount), chart.TopMargin);
    // Outside the axes nothing is held: 0.5 m lies left of the frame.
    EXPECT_LT(chart.SpacingToX(0.5), chart.LeftMargin);
    EXPECT_GT(chart.RhoToY(std::pow(10.0, chart.FirstDecade - 1)), chart.PlotBottom);
  }
}

}  // namespace
