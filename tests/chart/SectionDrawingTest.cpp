// The resistivity section's pixels: the columns stand in the order and at
// the places of their distances, a layer has the colour the bar shows for
// its resistivity, and deeper layers are drawn lower in proportion to depth.
#include <cmath>
#include <vector>

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include "chart/Canvas.h"
#include "chart/SectionDrawing.h"
#include "tests/chart/ChartTestSupport.h"

namespace {

TSectionColumn Column(const char* name, double distance, std::initializer_list<TLayer> layers) {
  TSectionColumn column;
  column.Name = name;
  column.Distance = distance;
  column.Rmse = 0.0123;
  column.Layers = LayerModel(layers);
  return column;
}

bool Near(QRgb a, QRgb b, int tolerance = 3) {
  return std::abs(qRed(a) - qRed(b)) <= tolerance && std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
         std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

struct TSection : ::testing::Test {
  TSectionDrawing Drawing;
  QImage Image = NewCanvasImage(800, 500);

  void Draw() {
    Drawing.DrawWidth = Image.width();
    Drawing.DrawHeight = Image.height();
    QPainter painter(&Image);
    Drawing.DrawSection(painter);
  }
  // Runs of non-white pixels along row y inside the plot: [first, last].
  std::vector<std::pair<int, int>> Runs(int y) const {
    std::vector<std::pair<int, int>> runs;
    for (int x = Drawing.PlotLeft; x < Drawing.PlotRight; ++x) {
      if (Image.pixel(x, y) == qRgb(255, 255, 255)) continue;
      if (runs.empty() || runs.back().second != x - 1) runs.push_back({x, x});
      runs.back().second = x;
    }
    return runs;
  }
  // The bar's colour, read from the image, for rho on a scale of 10 to 1000
  // ohm·m: its height is worked out here from the bar's ends.
  QRgb BarColour(double rho) const {
    const double fraction = (std::log10(rho) - 1) / 2;
    const int y = static_cast<int>(std::lround(Drawing.BarBottom - fraction * (Drawing.BarBottom - Drawing.BarTop)));
    return Image.pixel((Drawing.BarLeft + Drawing.BarRight) / 2, std::clamp(y, Drawing.BarTop + 1, Drawing.BarBottom - 2));
  }
};

TEST_F(TSection, ColumnsStandInTheOrderAndAtThePlacesOfTheirDistances) {
  // Given out of order: the distances place them.
  Drawing.Columns = {Column("B", 100, {{31.6, 8}, {300, 0}}), Column("C", 300, {{1000, 12}, {10, 0}}),
                     Column("A", 0, {{10, 5}, {100, 20}, {1000, 0}})};
  Draw();
  EXPECT_EQ(Drawing.RhoLow, 10);
  EXPECT_EQ(Drawing.RhoHigh, 1000);
  const std::vector<std::pair<int, int>> runs = Runs(Drawing.PlotTop + 3);
  ASSERT_EQ(runs.size(), 3u);
  const auto centre = [&runs](int k) { return (runs[k].first + runs[k].second) / 2.0; };
  // 0, 100 and 300 m: the second gap twice the first, within rounding.
  EXPECT_NEAR(centre(2) - centre(1), 2 * (centre(1) - centre(0)), 2);
  // The outer columns touch the plot's sides.
  EXPECT_EQ(runs[0].first, Drawing.PlotLeft);
  EXPECT_EQ(runs[2].second, Drawing.PlotRight - 1);
  // A, B, C from left to right by the colours of their top layers: the
  // bar's bottom, its 31.6 ohm·m and its top.
  const int y = Drawing.PlotTop + 3;
  EXPECT_TRUE(Near(Image.pixel(runs[0].first + 3, y), BarColour(10)));
  EXPECT_TRUE(Near(Image.pixel(runs[1].first + 3, y), BarColour(31.6)));
  EXPECT_TRUE(Near(Image.pixel(runs[2].first + 3, y), BarColour(1000)));
  // Viridis: dark violet at the bottom of the bar, yellow at its top.
  EXPECT_TRUE(Near(BarColour(10), qRgb(0x44, 0x01, 0x54), 6));
  EXPECT_TRUE(Near(BarColour(1000), qRgb(0xfd, 0xe7, 0x25), 6));
  EXPECT_FALSE(Near(BarColour(100), BarColour(31.6), 10));
}

TEST_F(TSection, DeeperLayersLowerInProportionToTheirDepth) {
  Drawing.Columns = {Column("A", 0, {{10, 5}, {100, 20}, {1000, 0}}), Column("B", 50, {{1000, 10}, {10, 0}})};
  Drawing.MaxDepth = 40;
  Draw();
  const std::vector<std::pair<int, int>> runs = Runs(Drawing.PlotTop + 3);
  ASSERT_EQ(runs.size(), 2u);
  // Down A's column near its left side, clear of the numbers in the middle:
  // where the colour changes.
  const int x = runs[0].first + 3;
  std::vector<int> changes;
  std::vector<QRgb> colours = {Image.pixel(x, Drawing.PlotTop + 1)};
  for (int y = Drawing.PlotTop + 2; y < Drawing.PlotBottom - 1; ++y) {
    const QRgb pixel = Image.pixel(x, y);
    if (Near(pixel, colours.back(), 0)) continue;
    // A boundary line is one row; the next layer's colour starts below it.
    if (!Near(pixel, Image.pixel(x, y + 1), 0)) continue;
    changes.push_back(y);
    colours.push_back(pixel);
  }
  ASSERT_EQ(changes.size(), 2u);
  EXPECT_TRUE(Near(colours[0], BarColour(10)) && Near(colours[1], BarColour(100)) && Near(colours[2], BarColour(1000)));
  // 5 m and 20 m of 40 m: an eighth and a half of the plot's height.
  const double height = Drawing.PlotBottom - Drawing.PlotTop;
  EXPECT_NEAR(changes[0] - Drawing.PlotTop, height / 8, 2);
  EXPECT_NEAR(changes[1] - Drawing.PlotTop, height / 2, 2);
  // The half-space reaches the bottom of the plot.
  EXPECT_TRUE(Near(Image.pixel(x, Drawing.PlotBottom - 3), BarColour(1000)));
}

TEST_F(TSection, ColourScaleAndDepthFollowTheModels) {
  // One decade around every resistivity; the depth half as much again as
  // the deepest boundary, rounded up.
  Drawing.Columns = {Column("A", 0, {{150, 3}, {30, 20}, {500, 0}}), Column("B", 10, {{120, 4}, {45, 0}})};
  Draw();
  EXPECT_EQ(Drawing.RhoLow, 10);
  EXPECT_EQ(Drawing.RhoHigh, 1000);
  EXPECT_EQ(Drawing.DepthBottom, 30);
  // A single column stands in the middle; a value outside the scale takes
  // its end's colour.
  Drawing.Columns = {Column("A", 0, {{100, 3}, {100, 0}})};
  Draw();
  EXPECT_EQ(Drawing.RhoHigh / Drawing.RhoLow, 10);
  const std::vector<std::pair<int, int>> runs = Runs(Drawing.PlotTop + 3);
  ASSERT_EQ(runs.size(), 3u);  // the plot's frame on each side and the column
  EXPECT_NEAR((runs[1].first + runs[1].second) / 2.0, (Drawing.PlotLeft + Drawing.PlotRight) / 2.0, 1);
  EXPECT_EQ(Drawing.ColourOf(1e6), Drawing.ColourOf(Drawing.RhoHigh));
}

}  // namespace
