// The measurement under the mouse, and the chart widget: its paint through
// the offscreen image and its hover report.
#include <vector>

#include <QCoreApplication>
#include <QMouseEvent>

#include <gtest/gtest.h>

#include "ChartDrawing.h"
#include "ChartTestSupport.h"
#include "Plaatje.h"

namespace {

// The 800 x 600 layout: ticks 10 and 9, symbols of half size 6, so a hot
// spot lies 6 - 10 div 2 = 1 pixel left of its symbol's centre and
// 9 div 2 = 4 below it.
constexpr int HotSpotLeft = 1;
constexpr int HotSpotBelow = 4;

std::vector<QPoint> Hits(TChartDrawing& chart, QPoint around, int reach, int measurement) {
  std::vector<QPoint> hits;
  for (int y = around.y() - reach; y <= around.y() + reach; ++y)
    for (int x = around.x() - reach; x <= around.x() + reach; ++x)
      if (chart.HitTestMeasurement(x, y) && chart.MeasurementUnderMouse == measurement) hits.push_back(QPoint(x, y));
  return hits;
}

TEST(MeasurementHitTest, HotSpotCatchesAnElevenPixelSquare) {
  TResondixData document = MakeDocument({{7.3, 260}}, {{130, 0}}, false);
  TChartDrawing chart;
  Render(chart, document, 800, 600);
  ASSERT_EQ(chart.TickX, 10);
  ASSERT_EQ(chart.TickY, 9);
  ASSERT_EQ(chart.SymbolHalfWidth, 6);
  const QPoint centre(chart.SpacingToX(7.3), chart.RhoToY(260));
  const QPoint hotSpot = centre + QPoint(-HotSpotLeft, HotSpotBelow);

  const std::vector<QPoint> hits = Hits(chart, centre, 20, 1);
  ASSERT_EQ(hits.size(), 121u);
  QRect square;
  for (const QPoint& hit : hits) square |= QRect(hit, QSize(1, 1));
  EXPECT_EQ(square, QRect(hotSpot - QPoint(5, 5), QSize(11, 11)));

  EXPECT_FALSE(chart.HitTestMeasurement(hotSpot.x() + 6, hotSpot.y()));
  EXPECT_EQ(chart.MeasurementUnderMouse, 0) << "a miss clears the last hit";
}

TEST(MeasurementHitTest, LowerIndexWinsWhereHotSpotsOverlap) {
  // Symbols 3 pixels apart: 7.3 m and 7.55 m.
  TResondixData document = MakeDocument({{7.3, 260}, {7.55, 260}}, {{130, 0}}, false);
  TChartDrawing chart;
  Render(chart, document, 800, 600);
  const QPoint first(chart.SpacingToX(7.3) - HotSpotLeft, chart.RhoToY(260) + HotSpotBelow);
  const QPoint second(chart.SpacingToX(7.55) - HotSpotLeft, chart.RhoToY(260) + HotSpotBelow);
  ASSERT_EQ(second.x() - first.x(), 3);

  EXPECT_TRUE(chart.HitTestMeasurement(second.x(), second.y()));
  EXPECT_EQ(chart.MeasurementUnderMouse, 1) << "both in reach: the first row";
  EXPECT_TRUE(chart.HitTestMeasurement(second.x() + 4, second.y()));
  EXPECT_EQ(chart.MeasurementUnderMouse, 2) << "only the second in reach";

  // The same two in the other order: still the lower index.
  TResondixData swapped = MakeDocument({{7.55, 260}, {7.3, 260}}, {{130, 0}}, false);
  TChartDrawing other;
  Render(other, swapped, 800, 600);
  EXPECT_TRUE(other.HitTestMeasurement(second.x(), second.y()));
  EXPECT_EQ(other.MeasurementUnderMouse, 1);
}

TEST(MeasurementHitTest, UndrawnRowsAreNeverHit) {
  // 800 x 1700: ticks of 25 rows put the old hot row of an undrawn row,
  // -12 + 25 div 2, on the chart's top line.
  TResondixData document = MakeDocument({{10, 0}, {0, 240}, {-2, 240}, {30, 240}}, {{130, 0}}, false);
  TChartDrawing chart;
  Render(chart, document, 800, 1700);
  ASSERT_EQ(chart.TickY, 25);
  const int hotX10 = chart.SpacingToX(10) - chart.SymbolHalfWidth + chart.TickX / 2;
  EXPECT_FALSE(chart.HitTestMeasurement(hotX10, -12 + chart.TickY / 2));
  EXPECT_FALSE(chart.HitTestMeasurement(hotX10, 2));
  // Rows with no spacing are nowhere, not at the left edge of the window.
  const int y240 = chart.RhoToY(240) + chart.TickY / 2;
  for (int x = -30; x < 30; ++x) ASSERT_FALSE(chart.HitTestMeasurement(x, y240)) << x;
  EXPECT_TRUE(chart.HitTestMeasurement(chart.SpacingToX(30) - chart.SymbolHalfWidth + chart.TickX / 2, y240));
  EXPECT_EQ(chart.MeasurementUnderMouse, 4);
}

TEST(MeasurementHitTest, NothingWithoutADocument) {
  TChartDrawing chart;
  chart.MeasurementUnderMouse = 3;
  EXPECT_FALSE(chart.HitTestMeasurement(10, 10));
  EXPECT_EQ(chart.MeasurementUnderMouse, 0);
}

void MoveMouse(TPlaatje& chart, QPoint position) {
  QMouseEvent event(QEvent::MouseMove, QPointF(position), chart.mapToGlobal(QPointF(position)), Qt::NoButton,
                    Qt::NoButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&chart, &event);
}

TEST(Plaatje, PaintsTheChartThroughItsOffscreenImage) {
  TResondixData document = MakeDocument({{2, 480}, {2, 60}, {40, 180}}, {{240, 2.5}, {28, 45}, {700, 0}}, true);
  TPlaatje widget;
  widget.resize(640, 480);
  widget.SetData(&document);
  const QImage shown = widget.grab().toImage().convertToFormat(QImage::Format_RGB32);

  EXPECT_EQ(widget.DrawWidth, 640);
  EXPECT_EQ(widget.DrawHeight, 480);
  EXPECT_EQ(widget.OffscreenBitmap.size(), QSize(640, 480));
  // The offscreen screen has the standard resolution, so the widget's texts
  // match those of an image drawn directly.
  ASSERT_EQ(widget.logicalDpiY(), 96);
  TChartDrawing direct;
  EXPECT_EQ(shown, Render(direct, document, 640, 480));
}

TEST(Plaatje, ReportsTheMeasurementUnderTheMouse) {
  TResondixData document = MakeDocument({{7.3, 260}, {40, 90}}, {{130, 0}}, false);
  TPlaatje widget;
  widget.resize(800, 600);
  widget.SetData(&document);
  widget.grab();  // lays the chart out

  std::vector<int> reported;
  int layerReports = 0;
  widget.OnOverMeasurement = [&](TPlaatje& sender) {
    EXPECT_EQ(&sender, &widget);
    reported.push_back(sender.MeasurementUnderMouse);
  };
  widget.OnOverLayer = [&](TPlaatje&) { ++layerReports; };

  const QPoint second(widget.SpacingToX(40) - HotSpotLeft, widget.RhoToY(90) + HotSpotBelow);
  MoveMouse(widget, second);
  MoveMouse(widget, second + QPoint(2, -3));  // still on it: reported again
  MoveMouse(widget, QPoint(400, 60));         // nothing there: no report
  EXPECT_EQ(reported, (std::vector<int>{2, 2}));
  EXPECT_EQ(widget.MeasurementUnderMouse, 0);
  EXPECT_EQ(widget.LastMouseX, 400);
  EXPECT_EQ(widget.LastMouseY, 60);
  EXPECT_EQ(layerReports, 0);

  widget.SetData(nullptr);
  MoveMouse(widget, second);
  EXPECT_EQ(reported.size(), 2u) << "no document, no report";
  EXPECT_EQ(widget.MeasurementUnderMouse, 0);
}

TEST(Plaatje, SizeHints) {
  TPlaatje widget;
  EXPECT_TRUE(widget.hasMouseTracking());
  EXPECT_GE(widget.sizeHint().width(), widget.minimumSizeHint().width());
  EXPECT_GE(widget.minimumSizeHint().width(), 80);
  EXPECT_EQ(widget.Font().family(), "Arial");
  EXPECT_EQ(widget.Font().pointSize(), 10);
}

}  // namespace
