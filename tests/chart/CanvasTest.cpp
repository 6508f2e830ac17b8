// The drawing surface: which pixels a line, a polyline, a rectangle and a
// dot set on a raster image, and the rounding of pixel coordinates.
#include <cmath>
#include <limits>
#include <set>
#include <utility>

#include <QBuffer>
#include <QFontInfo>
#include <QPainter>
#include <QSvgGenerator>

#include <gtest/gtest.h>

#include "Canvas.h"
#include "ChartTestSupport.h"

namespace {

using TPixelSet = std::set<std::pair<int, int>>;

TPixelSet BlackPixels(const QImage& image) {
  TPixelSet pixels;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (IsBlack(image, x, y)) pixels.insert({x, y});
  return pixels;
}

TPixelSet LinePixels(QPoint from, QPoint to, int size = 64) {
  QImage image = NewCanvasImage(size, size);
  QPainter painter(&image);
  TCanvas canvas(painter);
  canvas.MoveTo(from.x(), from.y());
  canvas.LineTo(to.x(), to.y());
  painter.end();
  return BlackPixels(image);
}

struct TLineCase {
  const char* Name;
  QPoint To;  // from (30, 30)
};

// Every octant, both axes, the diagonals, and slopes whose ideal line
// passes exactly between two pixels.
const TLineCase LineCases[] = {
    {"right", {41, 30}},          {"left", {17, 30}},          {"down", {30, 44}},
    {"up", {30, 21}},             {"shallow right down", {52, 37}}, {"shallow right up", {49, 23}},
    {"shallow left down", {9, 36}}, {"shallow left up", {5, 22}}, {"steep right down", {34, 55}},
    {"steep right up", {36, 7}},  {"steep left down", {25, 58}}, {"steep left up", {23, 3}},
    {"diagonal right down", {40, 40}}, {"diagonal left up", {19, 19}}, {"half-pixel ties", {36, 33}},
    {"half-pixel ties reversed", {24, 27}}, {"one pixel", {31, 30}},
};

TEST(Canvas, LineSetsItsStartAndTheNearestPixelsButNotItsEnd) {
  const QPoint from(30, 30);
  for (const TLineCase& row : LineCases) {
    SCOPED_TRACE(row.Name);
    const QPoint to = row.To;
    const TPixelSet pixels = LinePixels(from, to);
    const int dx = to.x() - from.x();
    const int dy = to.y() - from.y();
    const bool alongX = std::abs(dx) >= std::abs(dy);
    const int length = std::max(std::abs(dx), std::abs(dy));

    EXPECT_EQ(static_cast<int>(pixels.size()), length) << "one pixel per step along the longer axis";
    EXPECT_EQ(pixels.count({from.x(), from.y()}), 1u) << "start";
    EXPECT_EQ(pixels.count({to.x(), to.y()}), 0u) << "end";
    std::set<int> majors;
    for (const auto& [x, y] : pixels) {
      const int major = alongX ? x : y;
      const int minor = alongX ? y : x;
      majors.insert(major);
      const double ideal = alongX ? from.y() + double(x - from.x()) * dy / dx : from.x() + double(y - from.y()) * dx / dy;
      EXPECT_LE(std::abs(minor - ideal), 0.5) << "pixel (" << x << ", " << y << ") is not the nearest";
    }
    EXPECT_EQ(static_cast<int>(majors.size()), length) << "no step skipped or doubled";
  }
}

TEST(Canvas, LineAndItsReverseShareTheirInnerPixels) {
  const QPoint a(12, 9);
  for (const QPoint b : {QPoint(50, 24), QPoint(18, 61), QPoint(44, 30), QPoint(12, 40)}) {
    TPixelSet forward = LinePixels(a, b);
    TPixelSet backward = LinePixels(b, a);
    forward.erase({a.x(), a.y()});
    backward.erase({b.x(), b.y()});
    EXPECT_EQ(forward, backward) << "to (" << b.x() << ", " << b.y() << ")";
  }
}

TEST(Canvas, ClosedPolylineHasEveryCornerOnce) {
  QImage image = NewCanvasImage(40, 40);
  QPainter painter(&image);
  TCanvas canvas(painter);
  const QPoint frame[] = {{5, 6}, {33, 6}, {33, 29}, {5, 29}, {5, 6}};
  canvas.Polyline(frame, 5);
  painter.end();
  for (const QPoint& corner : frame) EXPECT_TRUE(IsBlack(image, corner.x(), corner.y()));
  // The outline and nothing else: 2 * (28 + 23) pixels.
  EXPECT_EQ(BlackPixels(image).size(), 2u * (28 + 23));
  EXPECT_FALSE(IsBlack(image, 34, 6));
  EXPECT_FALSE(IsBlack(image, 5, 30));
}

TEST(Canvas, RectangleCoversItsPixelsUpToOneShortOfTheFarCorner) {
  for (const QSize size : {QSize(1, 1), QSize(2, 7), QSize(17, 12)}) {
    QImage image = NewCanvasImage(30, 30);
    image.fill(Qt::red);
    QPainter painter(&image);
    TCanvas canvas(painter);
    canvas.Rectangle(3, 4, 3 + size.width(), 4 + size.height());
    painter.end();
    const QRect covered(3, 4, size.width(), size.height());
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < 30; ++x) {
        const QRgb pixel = image.pixel(x, y) & 0xffffffu;
        const bool border = covered.contains(x, y) && (x == covered.left() || x == covered.right() ||
                                                       y == covered.top() || y == covered.bottom());
        const QRgb expected = border ? 0x000000u : covered.contains(x, y) ? 0xffffffu : 0xff0000u;
        ASSERT_EQ(pixel, expected) << size.width() << "x" << size.height() << " at " << x << ", " << y;
      }
  }
}

TEST(Canvas, LineToAFarPointKeepsItsDirectionOnTheImage) {
  // A line from inside towards a point held at the pixel limit: the
  // visible part is the start of the same line, laid out quickly.
  const int far = RoundPixel(1e300);
  const TPixelSet pixels = LinePixels(QPoint(10, 20), QPoint(far, 20));
  EXPECT_EQ(pixels.size(), 54u);  // x 10 .. 63
  EXPECT_EQ(pixels.count({63, 20}), 1u);
  const TPixelSet steep = LinePixels(QPoint(5, 2), QPoint(5 + far / 2, far));
  EXPECT_EQ(steep.size(), 62u);  // y 2 .. 63
  EXPECT_EQ(steep.count({5, 2}), 1u);
  EXPECT_EQ(steep.count({36, 63}), 1u);  // x = 5 + 61 / 2, rounded up
}

TEST(Canvas, RoundPixelGoesToTheNearestEvenOnHalvesAndStaysFinite) {
  const struct {
    double Value;
    int Expected;
  } rows[] = {{0.5, 0},       {1.5, 2},         {2.5, 2},          {-0.5, 0},  {-1.5, -2},
              {517.5, 518},   {80.5, 80},       {81.5, 82},        {3.49, 3},  {-7.51, -8},
              {1e300, PixelLimit}, {-1e300, -PixelLimit},
              {std::numeric_limits<double>::infinity(), PixelLimit},
              {-std::numeric_limits<double>::infinity(), -PixelLimit},
              {std::numeric_limits<double>::quiet_NaN(), -PixelLimit}};
  for (const auto& row : rows) EXPECT_EQ(RoundPixel(row.Value), row.Expected) << row.Value;
}

TEST(Canvas, ExactPixelsOnlyOnUnscaledRasterImages) {
  QImage plain = NewCanvasImage(20, 20);
  {
    QPainter painter(&plain);
    EXPECT_TRUE(TCanvas(painter).PixelExact());
  }
  QImage dense = NewCanvasImage(40, 40);
  dense.setDevicePixelRatio(2);
  {
    QPainter painter(&dense);
    EXPECT_FALSE(TCanvas(painter).PixelExact());
  }
  QBuffer buffer;
  QSvgGenerator svg;
  svg.setOutputDevice(&buffer);
  svg.setSize(QSize(20, 20));
  {
    QPainter painter(&svg);
    EXPECT_FALSE(TCanvas(painter).PixelExact());
  }
}

TEST(Canvas, ChartFontIsArialOrItsMetricTwin) {
  QImage image = NewCanvasImage(20, 20);
  QPainter painter(&image);
  TCanvas canvas(painter);
  canvas.SetFont("Arial", 10);
  const QFontInfo info(canvas.Font());
  EXPECT_TRUE(info.family() == "Arial" || info.family() == "Liberation Sans") << info.family().toStdString();
  // 10 points at 96 dots per inch.
  EXPECT_EQ(info.pixelSize(), 13);
  EXPECT_GT(canvas.TextWidth("Rho"), 0);
  EXPECT_EQ(canvas.TextHeight("x"), canvas.TextHeight("Rho"));
}

}  // namespace
