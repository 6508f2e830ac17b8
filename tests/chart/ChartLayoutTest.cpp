// The chart's numbers, by hand with ln v / 2.3026 as the logarithm: pixel
// rounding, range, decade labels, layout, and the measurement under the mouse.
#include <limits>
#include <utility>
#include <vector>

#include "tests/chart/ChartTestSupport.h"

namespace {

TEST(Canvas, RoundPixelGoesToTheNearestEvenOnHalvesAndStaysFinite) {
  constexpr double Inf = std::numeric_limits<double>::infinity();
  const struct { double Value; int Expected; } rows[] = {
      {0.5, 0}, {1.5, 2}, {2.5, 2}, {-0.5, 0}, {-1.5, -2}, {3.49, 3}, {-7.51, -8}, {1e300, PixelLimit},
      {Inf, PixelLimit}, {-Inf, -PixelLimit}, {std::numeric_limits<double>::quiet_NaN(), -PixelLimit}};
  for (const auto& [value, expected] : rows) EXPECT_EQ(RoundPixel(value), expected) << value;
}

TEST(ChartValueRange, DecadesFollowTheDataWithAtLeastThree) {
  const struct { const char* Name; TResondixData Document; int FirstDecade, DecadeCount; } rows[] = {
      {"new document: 0.001 .. 1", TResondixData(), -3, 4},
      // L(1) - 0.5 = -0.5 rounds to the even 0; L(100) - 0.5 = 1.49998 to 1.
      {"smallest exactly 1", MakeDocument({{2, 1}, {3, 3.7}}, {{2.2, 0}}), 0, 3},
      {"smallest exactly 100", MakeDocument({{2, 100}, {3, 420}}, {{230, 0}}), 1, 3},
      {"under three decades grows upward", MakeDocument({{2, 23.5}, {3, 61}}, {{40, 0}}), 1, 3},
      {"empty row pulls down to 0.001", MakeDocument({{2, 120}, {3, 0}, {4, 80}}, {{95, 0}}), -3, 6},
      {"largest below 1 is lifted to 1", MakeDocument({{2, 0.2}, {3, 0.5}}, {{0.3, 0}}), -1, 3},
      {"layers widen without a valid model", MakeDocument({{2, 50}, {3, 70}}, {{0.02, 3}, {5e4, 0}}), -2, 7},
      {"edit limits 1e-3 and 1e8", MakeDocument({{2, 1e-3}, {3, 1e8}}, {{1e-3, 4}, {1e8, 0}}, true), -3, 11},
      {"loaded negative and huge values", MakeDocument({{2, -5}, {3, 1e300}}, {{-7, 0}}), -3, 303},
      {"smallest and largest doubles", MakeDocument({{2, 5e-324}, {3, 1.7e308}}, {{1, 0}}), -324, 633}};
  for (const auto& row : rows) {
    TResondixData document = row.Document;
    TChartDrawing chart;
    chart.Data = &document;
    chart.ComputeValueRange();
    EXPECT_EQ(std::make_pair(chart.FirstDecade, chart.DecadeCount), std::make_pair(row.FirstDecade, row.DecadeCount))
        << row.Name;
  }
  const struct { int Exponent; const char* Text; } labels[] = {
      {-30, ""}, {-29, "1e-29"}, {-2, "1e-2"}, {-1, "0.1"}, {0, "1"}, {1, "10"}, {2, "1e+2"}, {29, "1e+29"}, {30, ""}};
  for (const auto& [exponent, text] : labels) EXPECT_EQ(TChartDrawing::DecadeLabel(exponent).toStdString(), text);
}

constexpr double RealTolerance = 1e-9;  // sizes here are exact binary fractions: rounding errors only

TEST(ChartLayout, SizesMarginsAndTicks) {
  // Expected: LeftMargin, DecadeWidth, PlotBottom, TickX, TickY, and the plot height.
  const struct { const char* Name; int Width, Height, DecadeCount, Printing; std::vector<int> Expected; double Plot; }
      rows[] = {
      // 517.5 rounds to the even 518, 80.5 to 80, 337.5 to 338.
      {"800 x 600", 800, 600, 3, false, {80, 213, 543, 10, 9}, 517.5},
      {"margin half to even down", 805, 400, 5, false, {80, 215, 363, 10, 6}, 337.5},
      {"narrower than 80: no ticks until the grid", 79, 60, 3, false, {8, 21, 57, 0, 0}, 31.5},
      {"lower than the top margin", 30, 24, 3, false, {3, 8, 24, 0, 0}, -0.9},
      // Square decades of round(219.375), with a right margin of 1000 - 100 - 3 * 219.
      {"printing square decades", 1000, 1000, 4, true, {100, 219, 903, 12, 15}, 877.5},
      // 3 * round(292.5) would leave less than the left margin of 100 on the
      // right, so the axis shrinks to 1000 - 2 * 100 in decades of 267.
      {"printing keeps the right margin", 1000, 1000, 3, true, {100, 267, 825, 12, 13}, 800}};
  for (const auto& row : rows) {
    TChartDrawing chart;
    chart.DrawWidth = row.Width;
    chart.DrawHeight = row.Height;
    chart.DecadeCount = row.DecadeCount;
    chart.Printing = row.Printing;
    chart.ComputeLayout();
    EXPECT_EQ((std::vector<int>{chart.LeftMargin, chart.DecadeWidth, chart.PlotBottom, chart.TickX, chart.TickY}),
              row.Expected) << row.Name;
    EXPECT_NEAR(chart.PlotHeight, row.Plot, RealTolerance) << row.Name;
  }
}

TEST(MeasurementHitTest, ElevenPixelSquaresTheLowerIndexFirstNoneForUndrawnRows) {
  // Hot spots 3 columns apart at 7.3 m and 7.55 m; rows without a logarithm follow.
  TResondixData document = MakeDocument({{7.3, 260}, {7.55, 260}, {40, 90}, {10, 0}, {0, 240}, {-2, 240}}, {{130, 0}});
  TChartDrawing chart;
  Render(chart, &document, 800, 1700);
  // Ticks 10 and 25 long, symbols' half sizes 6 and 18: a hot spot lies 6 - 10
  // div 2 = 1 pixel left of a symbol's centre and 25 div 2 = 12 below it.
  const auto hot = [&](double s, double rho) { return QPoint(chart.SpacingToX(s) - 1, chart.RhoToY(rho) + 12); };
  const QPoint first = hot(7.3, 260), second = hot(7.55, 260), lone = hot(40, 90);
  int hits = 0;  // within 5 pixels of the hot spot on both axes
  for (int y = lone.y() - 20; y <= lone.y() + 20; ++y)
    for (int x = lone.x() - 20; x <= lone.x() + 20; ++x) hits += chart.HitTestMeasurement(x, y);
  EXPECT_EQ(hits, 121);
  EXPECT_TRUE(chart.HitTestMeasurement(lone.x() - 5, lone.y() - 5) && chart.MeasurementUnderMouse == 3);
  EXPECT_TRUE(chart.HitTestMeasurement(lone.x() + 5, lone.y() + 5) && chart.MeasurementUnderMouse == 3);
  EXPECT_TRUE(chart.HitTestMeasurement(second.x(), second.y()) && chart.MeasurementUnderMouse == 1) << "both in reach";
  EXPECT_TRUE(chart.HitTestMeasurement(second.x() + 4, second.y()) && chart.MeasurementUnderMouse == 2);
  EXPECT_FALSE(chart.HitTestMeasurement(lone.x() + 6, lone.y()) || chart.MeasurementUnderMouse != 0) << "a miss";
  // Undrawn rows, once found at the top line and the left edge, are nowhere.
  for (int y = -5; y <= 5; ++y) EXPECT_FALSE(chart.HitTestMeasurement(chart.SpacingToX(10) - 1, y)) << y;
  for (int x = -30; x < 30; ++x) EXPECT_FALSE(chart.HitTestMeasurement(x, chart.RhoToY(240) + 12)) << x;
  chart.HitTestMeasurement(first.x(), first.y());
  chart.Data = nullptr;
  EXPECT_FALSE(chart.HitTestMeasurement(first.x(), first.y()) || chart.MeasurementUnderMouse != 0) << "no document";
}

}  // namespace
