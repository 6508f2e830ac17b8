// Pixels of a line, of the chart as its layout fixes them (texts against
// their font metrics), of the widget, of odd documents. At 800 x 600 the plot
// spans columns 80 .. 719 in decades of 213, rows 25 .. 543; ticks 10 and 9.
#include <cmath>
#include <limits>
#include <vector>

#include <QApplication>
#include <QBuffer>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QSvgGenerator>

#include "chart/Plaatje.h"
#include "engine/Equivalence.h"
#include "engine/SmoothInversion.h"
#include "tests/chart/ChartTestSupport.h"

namespace {

TEST(Canvas, LineSetsItsStartAndTheNearestPixelsButNotItsEnd) {
  const QPoint o(30, 30);
  const struct { const char* Name; QPoint From, To; } rows[] = {
      {"right", o, {41, 30}}, {"up", o, {30, 21}}, {"shallow right down", o, {52, 37}}, {"shallow left up", o, {5, 22}},
      {"steep right up", o, {36, 7}}, {"steep left down", o, {25, 58}}, {"halves between pixels", o, {36, 33}},
      {"the same reversed", {36, 33}, o}, {"one pixel", o, {31, 30}}};
  for (const auto& [name, from, to] : rows) {
    QImage image = NewCanvasImage(64, 64), expected = NewCanvasImage(64, 64);
    QPainter painter(&image);
    TCanvas canvas(painter);
    canvas.MoveTo(from.x(), from.y());
    canvas.LineTo(to.x(), to.y());
    painter.end();
    // One pixel for each step along the longer axis up to one short of the
    // end, the nearest to the line, halves rounded upward.
    const int dx = to.x() - from.x(), dy = to.y() - from.y();
    const double n = std::max(std::abs(dx), std::abs(dy));
    for (int k = 0; k < n; ++k)
      expected.setPixel(std::floor(from.x() + k * dx / n + 0.5), std::floor(from.y() + k * dy / n + 0.5), 0);
    EXPECT_EQ(image, expected) << name;
  }
}

TEST(ChartPixels, BorderAndFrame) {
  const struct { const char* Name; int Width, Height; bool Copying, Printing, Document; } rows[] = {
      {"800 x 600", 800, 600, false, false, true}, {"narrower than 80", 79, 60, false, false, true},
      {"copy: no border", 300, 200, true, false, true}, {"print: a border", 300, 300, false, true, true},
      {"no document: the border alone", 300, 200, false, false, false}};
  for (const auto& row : rows) {
    TResondixData document;
    TChartDrawing chart;
    chart.Copying = row.Copying;
    chart.Printing = row.Printing;
    const QImage image = Render(chart, row.Document ? &document : nullptr, row.Width, row.Height);
    const auto ring = [&](const QRect& r) { return BlackIn(image, r) - BlackIn(image, r.adjusted(1, 1, -1, -1)); };
    const QRect plot(QPoint(chart.LeftMargin, chart.TopMargin), QPoint(chart.PlotRight(), chart.PlotBottom));
    const int border = row.Copying ? 0 : 2 * (row.Width + row.Height) - 4;
    EXPECT_EQ(ring(image.rect()), border) << row.Name;
    EXPECT_EQ(row.Document ? ring(plot) : BlackIn(image, image.rect()),
              row.Document ? 2 * (plot.width() + plot.height()) - 4 : border) << row.Name;
    EXPECT_EQ(chart.Font().pointSize(), 10) << row.Name;
    if (row.Width < 80) {  // tick lengths 0 become 1: every pixel of a grid line is a dot
      for (const int y : {33, 41, 49}) EXPECT_EQ(BlackIn(image, QRect(9, y, 62, 1)), 62) << y;
      for (const int x : {29, 50}) EXPECT_EQ(BlackIn(image, QRect(x, 26, 1, 31)), 31) << x;
    }
  }
}

// Whether the ink around text's cell at (x, y) lies in it, give or take a pixel of the advance, over half its width.
bool TextAt(const QImage& image, const QFontMetrics& metrics, int x, int y, const QString& text) {
  const QRect cell(x, y, metrics.horizontalAdvance(text), metrics.height());
  const QRect ink = InkBounds(image, cell.adjusted(-6, -3, 6, 3));
  return cell.adjusted(-1, 0, 1, 0).contains(ink) && ink.width() >= cell.width() / 2;
}

TEST(ChartPixels, GridTicksAndTexts) {
  for (const bool schlumberger : {true, false}) {
    TResondixData document;  // new: 0.001 .. 10 ohm.m in decades of 129.375 rows, nothing in the frame
    document.SetSoundingType(schlumberger);
    TChartDrawing chart;
    QImage image = Render(chart, &document, 800, 600);
    for (const int x : {293, 506})  // 10 m, 100 m: dots every 9 rows from 25 + 9; the tick up from the axis
      for (int y = 26; y <= 551; ++y) EXPECT_EQ(IsBlack(image, x, y), y <= 543 && (y >= 535 || (y - 25) % 9 == 0)) << y;
    for (const int y : {154, 284, 413})  // round(j * 129.375) + 25: the tick, then dots every 10 columns
      for (int x = 81; x <= 719; ++x) EXPECT_EQ(IsBlack(image, x, y), x < 90 || x % 10 == 0 || x == 719) << x;
    // Ticks at 2 .. 9 times each decade by the program's logarithm, one
    // short of their length; 2 m, 50 m and 900 m by hand.
    for (const int x : {144, 442, 709}) EXPECT_TRUE(IsBlack(image, x, 535)) << x;
    for (int k = 2; k <= 9; ++k)
      for (int d = 0; d < 4; ++d) {
        const double f = d + std::log(k) / 2.3026;
        const int x = std::nearbyint(f * 213 + 80), y = std::nearbyint(517.5 - f * 129.375) + 25;
        EXPECT_EQ(BlackIn(image, QRect(x, 534, 1, 10)), d < 3 ? 9 : 0) << k << d;
        EXPECT_EQ(BlackIn(image, QRect(80, y, 11, 1)), 10) << k << d;
      }
    // Centred under the decade boundaries, the axis title where 1000 would
    // be; right-aligned 10 pixels left of the axis, centred on the grid rows
    // but the top one, where the title stands.
    const QFontMetrics m(chart.Font(), &image);
    const QString below[] = {"1", "10", "100", schlumberger ? "L/2" : " a "}, beside[] = {"1e-3", "1e-2", "0.1", "1"};
    const int rows[] = {543, 413, 284, 154};
    for (int i = 0; i < 4; ++i) {
      EXPECT_TRUE(TextAt(image, m, 80 + i * 213 - m.horizontalAdvance(below[i]) / 2, 552, below[i])) << i;
      EXPECT_TRUE(TextAt(image, m, 70 - m.horizontalAdvance(beside[i]), rows[i] - m.height() / 2, beside[i])) << i;
    }
    EXPECT_TRUE(TextAt(image, m, 70 - m.horizontalAdvance("Rho"), 31 - m.height() / 2, "Rho"));
  }
  for (const int height : {245, 246}) {  // nine decades of (245 - 25) * 0.9 / 9 = 22 rows, or 22.1
    TResondixData document = MakeDocument({{0, 0.0042}, {0, 3.7e5}}, {{130, 0}});
    TChartDrawing chart;
    const QImage image = Render(chart, &document, 800, height);
    const QFontMetrics m(chart.Font(), &image);
    EXPECT_EQ(TextAt(image, m, 70 - m.horizontalAdvance("Rho"), 31 - m.height() / 2, "Rho"), height == 246);
    for (int n = 0; n < 3; ++n)  // up to 22 rows stacked: letter below letter, 58 pixels left of the axis
      EXPECT_EQ(TextAt(image, m, 22, (n + 1) * m.height() + 17, QString("Rho").mid(n, 1)), height == 245) << n;
  }
}

TEST(ChartPixels, CrossesAndDiamonds) {
  // Half sizes round(10 * 0.6) = 6 and round(9 * 0.7) = 6; centres by hand.
  TResondixData document = MakeDocument({{2, 480}, {2, 60}, {1.6, 35}, {40, 180}}, {{130, 0}});
  TChartDrawing chart;
  const QImage image = Render(chart, &document, 800, 600);
  const struct { const char* Name; int X, Y; bool Diamond; } rows[] = {
      {"first: a cross", 144, 252, false}, {"repeated spacing: a diamond", 144, 408, true},
      {"smaller spacing: a diamond", 123, 449, true}, {"growing spacing: a cross", 421, 326, false}};
  for (const auto& [name, x, y, diamond] : rows)  // hollow edges of six steps, or arms of 12 from x - 6, y - 6
    EXPECT_TRUE(IsBlack(image, x - 6, y) && IsBlack(image, x, y - 6) && IsBlack(image, x, y) != diamond &&
                BlackIn(image, QRect(x - 6, y - 6, 13, 13)) == (diamond ? 24 : 23)) << name;
  // Rows with no logarithm leave the image as rows with nothing at all.
  TResondixData withRows = MakeDocument({{0, 55}, {60, 0}, {-3, 41}}, {{130, 0}});
  TResondixData blank = MakeDocument({{0, 0}, {0, 0}, {0, 0}}, {{130, 0}});
  EXPECT_EQ(Render(chart, &withRows, 640, 480), Render(chart, &blank, 640, 480));
}

TEST(ChartPixels, LayerStaircaseAndModelCurve) {
  const struct { const char* Name; TResondixData Document; std::vector<QPoint> Corners; } rows[] = {  // by hand
      {"interfaces at 2.5 m and 45 m", MakeDocument({{0, 100}}, {{240, 2.5}, {28, 45}, {700, 0}}, true),
       {{80, 304}, {165, 304}, {165, 465}, {432, 465}, {432, 224}, {719, 224}}},
      {"interfaces beyond the axis held on it", MakeDocument({{0, 100}}, {{240, 0.5}, {28, 2000}, {700, 0}}, true),
       {{80, 304}, {80, 465}, {719, 465}, {719, 224}}},
      // A thin layer: the staircase runs along row 252, the curve's ends off it.
      {"thin 12.5 ohm.m layer on 480", MakeDocument({{0, 100}}, {{12.5, 0.6}, {480, 0}}, true),
       {{80, 252}, {719, 252}}}};
  for (const auto& row : rows) {
    TResondixData document = row.Document;
    TChartDrawing chart;
    const QImage image = Render(chart, &document, 800, 600);
    for (std::size_t i = 1; i < row.Corners.size(); ++i) {
      const QPoint a = row.Corners[i - 1], b = row.Corners[i];
      const QPoint step((b.x() > a.x()) - (b.x() < a.x()), (b.y() > a.y()) - (b.y() < a.y()));
      for (QPoint p = a; p != b; p += step) EXPECT_TRUE(IsBlack(image, p.x(), p.y())) << row.Name << " " << p.x();
      const bool inner = b.x() > 80 && b.x() < 719;  // no overshoot at a corner, nothing outside the frame
      EXPECT_FALSE((inner && IsBlack(image, b.x() + step.x(), b.y() + step.y())) || IsBlack(image, 79, b.y()) ||
                   IsBlack(image, 720, b.y())) << row.Name << " " << b.x() << ", " << b.y();
    }
    // The curve's ends: the rows nearest to the line between the first or last two samples (log10 spacing i / 10)
    // of the document's own curve.
    document.ComputeModelCurve();
    const auto at = [&](int i) {
      const double y = 542.5 - (document.CurveLogRhoAt(i / 10.0) - 1) * 172.5;
      return QPoint(std::nearbyint(21.3 * i + 80), std::nearbyint(y));
    };
    const auto nearest = [](QPoint a, QPoint b, int x) {
      return static_cast<int>(std::floor(a.y() + double(x - a.x()) * (b.y() - a.y()) / (b.x() - a.x()) + 0.5));
    };
    EXPECT_TRUE(IsBlack(image, 81, nearest(at(0), at(1), 81)) && IsBlack(image, 718, nearest(at(29), at(30), 718)));
    EXPECT_FALSE(IsBlack(image, 79, at(0).y()) || IsBlack(image, 720, at(30).y())) << row.Name << ": past the axis";
  }
}

TEST(ChartPixels, EquivalentModelsInGreyBehindTheStaircaseAndInsideTheFrame) {
  TResondixData document = MakeDocument({{0, 100}}, {{240, 2.5}, {28, 45}, {700, 0}}, true);
  TChartDrawing plain, chart;
  const QImage without = Render(plain, &document, 800, 600);
  // One model like the document's but 1000 ohm.m on top, one far beyond both axes.
  const TLayerModel models[2] = {LayerModel({{1000, 2.5}, {28, 45}, {700}}), LayerModel({{1e-6, 1e-3}, {1e9, 1e6}, {1e-3}})};
  chart.EquivalentModels = models;
  chart.EquivalentModelCount = 2;
  const QImage with = Render(chart, &document, 800, 600);
  const QRgb grey = qRgb(192, 192, 192);
  const QRect inside = QRect(QPoint(chart.LeftMargin, chart.TopMargin), QPoint(chart.PlotRight(), chart.PlotBottom))
                           .adjusted(1, 1, -1, -1);
  int greyPixels = 0;
  for (int y = 0; y < with.height(); ++y)
    for (int x = 0; x < with.width(); ++x) {
      const bool isGrey = with.pixel(x, y) == grey;
      greyPixels += isGrey;
      // Black stays black (frame, axes, staircase and curve are drawn over the grey ones); grey only inside the frame.
      EXPECT_TRUE(!IsBlack(without, x, y) || IsBlack(with, x, y)) << x << ", " << y;
      EXPECT_TRUE(!isGrey || inside.contains(x, y)) << x << ", " << y;
    }
  // The top of the first model runs at the row of 1000 ohm.m up to its interface at 2.5 m (column 165).
  const int top = chart.RhoToY(1000);
  for (int x = inside.left(); x < 165; ++x) EXPECT_TRUE(with.pixel(x, top) == grey || IsBlack(with, x, top)) << x;
  EXPECT_GT(greyPixels, 165 - inside.left());
  // Without models the drawing is the plain one.
  chart.EquivalentModelCount = 0;
  EXPECT_EQ(Render(chart, &document, 800, 600), without);
}

TEST(ChartPixels, SmoothModelDashedInsideTheFrameWithItsDepthOfInvestigationMarked) {
  // No valid layer model: the smooth model is drawn all the same.
  TResondixData document = MakeDocument({{0, 100}}, {{240, 2.5}, {28, 45}, {700, 0}});
  TChartDrawing plain, chart;
  const QImage without = Render(plain, &document, 800, 600);
  TSmoothModel smooth;
  smooth.Profile.LayerCount = 3;
  const double rho[] = {0, 1000, 28, 1e9}, depth[] = {0, 2.5, 45, HalfSpaceDepth};
  for (int i = 1; i <= 3; ++i) smooth.Profile.LayerRho[i] = rho[i], smooth.Profile.LayerDepth[i] = depth[i];
  smooth.DepthOfInvestigation = 20;
  chart.SmoothModel = &smooth;
  const QImage with = Render(chart, &document, 800, 600);
  // The top cell at the row of 1000 ohm.m, from the axis to its bottom at 2.5 m (column 165): dashes of 4 pixels
  // from the axis on.
  const int top = chart.RhoToY(1000);
  for (int x = chart.LeftMargin + 1; x < 165; ++x)
    EXPECT_EQ(IsBlack(with, x, top), (x - chart.LeftMargin) / 4 % 2 == 0) << x;
  // The half-space of 1e9 ohm.m lies above the axis: nothing of it outside the frame.
  const QRect frame(QPoint(chart.LeftMargin, chart.TopMargin), QPoint(chart.PlotRight(), chart.PlotBottom));
  for (int y = 0; y < with.height(); ++y)
    for (int x = 0; x < with.width(); ++x)
      if (!frame.contains(x, y) && IsBlack(with, x, y) != IsBlack(without, x, y)) {
        // The label "DOI" stands inside the frame too.
        ADD_FAILURE() << "outside the frame at " << x << ", " << y;
        return;
      }
  // The mark at 20 m: a line up from the depth axis three ticks long (its end pixel left out, as every line's),
  // "DOI" above it.
  const int x = chart.SpacingToX(20);
  for (int y = chart.PlotBottom - 3 * chart.TickY + 1; y <= chart.PlotBottom; ++y) EXPECT_TRUE(IsBlack(with, x, y)) << y;
  EXPECT_FALSE(InkBounds(with, QRect(x - 20, chart.PlotBottom - 3 * chart.TickY - 20, 40, 19)).isEmpty());
  chart.SmoothModel = nullptr;
  EXPECT_EQ(Render(chart, &document, 800, 600), without);
}

TEST(Plaatje, ShowsTheChartAndReportsTheMeasurementUnderTheMouse) {
  TResondixData document = MakeDocument({{7.3, 260}, {40, 90}}, {{240, 2.5}, {28, 45}, {700, 0}}, true);
  TPlaatje widget;
  widget.resize(800, 600);
  widget.SetData(&document);
  TChartDrawing direct;  // the offscreen image has the standard resolution
  EXPECT_EQ(widget.grab().toImage().convertToFormat(QImage::Format_RGB32), Render(direct, &document, 800, 600));
  std::vector<int> reported;
  widget.OnOverMeasurement = [&](TPlaatje& sender) { reported.push_back(sender.MeasurementUnderMouse()); };
  const auto move = [&](QPoint at) {
    QMouseEvent event(QEvent::MouseMove, at, at, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &event);
  };
  const TChartDrawing& layout = widget.ScreenDrawing();
  const QPoint hot(layout.SpacingToX(40) - 1, layout.RhoToY(90) + 4);  // 1 pixel left of the centre, 4 below
  for (const QPoint at : {hot, hot + QPoint(2, -3), QPoint(400, 60)}) move(at);  // on it twice, then off
  EXPECT_TRUE(reported == std::vector<int>({2, 2}) && widget.MeasurementUnderMouse() == 0);
  widget.SetData(nullptr);
  move(hot);
  EXPECT_TRUE(reported.size() == 2 && widget.hasMouseTracking()) << "no document, no report; reports without a button";
}

TEST(ChartRobustness, OddDocumentsDrawAtEverySizeWithOnlyNumbers) {
  constexpr double Inf = std::numeric_limits<double>::infinity(), NaN = std::numeric_limits<double>::quiet_NaN();
  // 15 rows of zeros; a hand-edited file's negative, unordered and extreme values; what only memory holds.
  TResondixData documents[] = {
      TResondixData(),
      MakeDocument({{-5, -3}, {1e300, 1e300}, {1e-300, 2}, {7, 5e-324}},
                   {{-40, 30}, {1e300, 2}, {1e-300, -8}, {2.5, 0}}),
      MakeDocument({{NaN, 10}, {10, NaN}, {Inf, 5}, {3, Inf}}, {{NaN, 5}, {Inf, NaN}, {7, 0}})};
  for (TResondixData& document : documents)
    for (const QSize size : {QSize(0, 0), QSize(79, 60), QSize(800, 600), QSize(3000, 140), QSize(90, 1500)}) {
      SCOPED_TRACE(testing::Message() << "document " << &document - documents << " at " << size.width() << " x "
                                      << size.height());
      document.ModelValid = true;
      TChartDrawing chart;
      Render(chart, &document, size.width(), size.height());
      EXPECT_TRUE(chart.DecadeCount >= 3 && chart.DecadeCount <= 801 && chart.TickX >= 1 && chart.TickY >= 1);
      QBuffer buffer;  // SVG writes every coordinate as a number
      QSvgGenerator svg;
      svg.setOutputDevice(&buffer);
      QPainter painter(&svg);
      chart.DrawChart(painter);
      painter.end();
      const QString text = QString::fromUtf8(buffer.data()).toLower();
      EXPECT_TRUE(text.contains("<svg") && !text.contains("nan") && !text.contains("inf"));
    }
}

}  // namespace
