// The chart drawn into raster images: the pixels its layout fixes for the
// background, the frame, the dotted grid, the ticks, the texts, the
// measurement symbols, the layer staircase and the model curve. Positions
// of lines are exact; texts are checked against their measured size, since
// their glyphs come from the font.
#include <cmath>

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include "Canvas.h"
#include "ChartDrawing.h"
#include "ChartTestSupport.h"

namespace {

// Measurements that set the range 10 .. 10000 ohm.m but, with an L/2 of 0,
// are not drawn: the frame stays empty.
TResondixData EmptyFrameDocument(bool schlumberger = true) {
  TResondixData d = MakeDocument({{0, 14}, {0, 7300}}, {{130, 0}}, false);
  d.SetSoundingType(schlumberger);
  return d;
}

struct TFrameCase {
  const char* Name;
  int Width;
  int Height;
};

const TFrameCase FrameSizes[] = {
    {"800 x 600", 800, 600}, {"odd 801 x 601", 801, 601}, {"333 x 257", 333, 257},
    {"narrower than 80", 79, 60}, {"64 x 40", 64, 40}, {"1920 x 1080", 1920, 1080},
};

TEST(ChartPixels, BackgroundBorderAndFrame) {
  for (const TFrameCase& row : FrameSizes) {
    SCOPED_TRACE(row.Name);
    TResondixData document;
    TChartDrawing chart;
    const QImage image = Render(chart, document, row.Width, row.Height);
    const int w = row.Width;
    const int h = row.Height;
    // The border covers the outermost pixels of the target.
    for (const QPoint corner : {QPoint(0, 0), QPoint(w - 1, 0), QPoint(0, h - 1), QPoint(w - 1, h - 1)})
      EXPECT_TRUE(IsBlack(image, corner.x(), corner.y()));
    EXPECT_TRUE(IsBlack(image, w / 2, 0));
    EXPECT_TRUE(IsBlack(image, w - 1, h / 2));
    EXPECT_FALSE(IsBlack(image, w - 2, 1)) << "inside the border, right of the frame";

    const int left = chart.LeftMargin;
    const int right = chart.PlotRight();
    const int top = chart.TopMargin;
    const int bottom = chart.PlotBottom;
    for (const QPoint corner : {QPoint(left, top), QPoint(right, top), QPoint(right, bottom), QPoint(left, bottom)})
      EXPECT_TRUE(IsBlack(image, corner.x(), corner.y())) << corner.x() << ", " << corner.y();
    const int middleX = (left + right) / 2;
    const int middleY = (top + bottom) / 2;
    EXPECT_TRUE(IsBlack(image, middleX, top));
    EXPECT_TRUE(IsBlack(image, middleX, bottom));
    EXPECT_TRUE(IsBlack(image, left, middleY));
    EXPECT_TRUE(IsBlack(image, right, middleY));
    EXPECT_FALSE(IsBlack(image, right + 1, middleY)) << "nothing right of the frame";
    EXPECT_FALSE(IsBlack(image, right - 1, top + 1)) << "no tick on the top or right side";
  }
}

TEST(ChartPixels, CopyHasNoBorderPrintHasOneAndNoDocumentOnlyTheBackground) {
  TResondixData document;
  TChartDrawing copy;
  copy.Copying = true;
  const QImage copied = Render(copy, document, 300, 200);
  EXPECT_FALSE(IsBlack(copied, 0, 0));
  EXPECT_FALSE(IsBlack(copied, 299, 199));
  EXPECT_TRUE(IsBlack(copied, copy.LeftMargin, copy.TopMargin)) << "the frame is still drawn";
  EXPECT_EQ(copy.Font().pointSize(), 10);

  TChartDrawing print;
  print.Printing = true;
  const QImage printed = Render(print, document, 300, 300);
  EXPECT_TRUE(IsBlack(printed, 0, 0));
  EXPECT_EQ(print.Font().pointSize(), 24);

  TChartDrawing empty;
  QImage image = NewCanvasImage(300, 200);
  empty.DrawWidth = 300;
  empty.DrawHeight = 200;
  QPainter painter(&image);
  empty.DrawChart(painter);
  painter.end();
  int black = 0;
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 300; ++x) black += IsBlack(image, x, y);
  EXPECT_EQ(black, 2 * (300 + 200) - 4) << "the border alone";
}

TEST(ChartPixels, DottedGridStartsOneTickInside) {
  // 800 x 600, new document: 4 decades of 129.375 pixels, ticks 10 and 9.
  TResondixData document;
  TChartDrawing chart;
  const QImage image = Render(chart, document, 800, 600);
  ASSERT_EQ(chart.DecadeCount, 4);
  ASSERT_EQ(chart.TickX, 10);
  ASSERT_EQ(chart.TickY, 9);

  // Dotted columns at 10 m (x 293) and 100 m (x 506), dots every 9 rows
  // from 25 + 9.
  for (const int x : {293, 506}) {
    for (const int y : {34, 43, 52, 529}) EXPECT_TRUE(IsBlack(image, x, y)) << x << ", " << y;
    for (int y = 26; y < 34; ++y) EXPECT_FALSE(IsBlack(image, x, y)) << x << ", " << y;
    for (int y = 35; y < 43; ++y) EXPECT_FALSE(IsBlack(image, x, y)) << x << ", " << y;
    // The dots end inside the plot: none between the axis at 543 and the
    // labels below it.
    for (int y = 544; y < 552; ++y) EXPECT_FALSE(IsBlack(image, x, y)) << x << ", " << y;
  }
  // Dotted rows at round(j * 129.375) + 25, dots every 10 columns from
  // 80 + 10 while left of the right side at 719.
  for (const int y : {154, 284, 413}) {
    for (const int x : {90, 100, 710}) EXPECT_TRUE(IsBlack(image, x, y)) << x << ", " << y;
    for (int x = 91; x < 100; ++x) EXPECT_FALSE(IsBlack(image, x, y)) << x << ", " << y;
    for (int x = 711; x < 719; ++x) EXPECT_FALSE(IsBlack(image, x, y)) << x << ", " << y;
  }
}

TEST(ChartPixels, NarrowChartDrawsItsGridSolid) {
  // 79 x 60: tick sizes 0 become 1, so every pixel of a grid line is a dot.
  TResondixData document;
  TChartDrawing chart;
  const QImage image = Render(chart, document, 79, 60);
  EXPECT_EQ(chart.TickX, 1);
  EXPECT_EQ(chart.TickY, 1);
  // Decade rows at round(j * 7.875) + 25 from x 9 to 70; the columns at
  // 29 and 50 from y 26 while below 31.5 pixels of plot.
  for (const int y : {33, 41, 49})
    for (int x = 9; x <= 70; ++x) ASSERT_TRUE(IsBlack(image, x, y)) << x << ", " << y;
  for (const int x : {29, 50})
    for (int y = 26; y <= 56; ++y) ASSERT_TRUE(IsBlack(image, x, y)) << x << ", " << y;
}

TEST(ChartPixels, MinorTicksPointIntoThePlot) {
  TResondixData document = EmptyFrameDocument();
  TChartDrawing chart;
  const QImage image = Render(chart, document, 800, 600);
  ASSERT_EQ(chart.FirstDecade, 1);
  ASSERT_EQ(chart.DecadeCount, 3);
  const int tickX = chart.TickX;
  const int tickY = chart.TickY;

  // A few positions worked out by hand: 2 m at 80 + 64.12, 50 m at
  // 80 + 1.69896 * 213, 900 m at 80 + 2.95422 * 213.
  for (const int x : {144, 442, 709}) EXPECT_TRUE(IsBlack(image, x, chart.PlotBottom - tickY + 1)) << x;

  for (int k = 1; k <= 9; ++k) {
    const double f = std::log(k) / 2.3026;  // the program's log10
    for (int d = 0; d <= 2; ++d) {
      const int x = static_cast<int>(std::nearbyint((d + f) * chart.DecadeWidth + chart.LeftMargin));
      for (int y = chart.PlotBottom - tickY + 1; y <= chart.PlotBottom; ++y)
        EXPECT_TRUE(IsBlack(image, x, y)) << "k " << k << " d " << d << " y " << y;
      if (x != chart.LeftMargin) {
        EXPECT_FALSE(IsBlack(image, x, chart.PlotBottom - tickY)) << "one short of the tick's end, k " << k;
        EXPECT_FALSE(IsBlack(image, x, chart.TopMargin + 1)) << "no tick on the top side";
      }
    }
    for (int d = 0; d <= chart.DecadeCount - 1; ++d) {
      const int y = static_cast<int>(std::nearbyint(chart.PlotHeight - (d + f) * chart.DecadeHeight)) + chart.TopMargin;
      for (int x = chart.LeftMargin; x < chart.LeftMargin + tickX; ++x)
        EXPECT_TRUE(IsBlack(image, x, y)) << "k " << k << " d " << d << " x " << x;
      // Decade boundaries continue in the dotted row, whose first dot is
      // one tick in; between them the tick ends.
      if (k > 1) {
        EXPECT_FALSE(IsBlack(image, chart.LeftMargin + tickX, y)) << "k " << k << " d " << d;
        EXPECT_FALSE(IsBlack(image, chart.PlotRight() - 1, y)) << "no tick on the right side";
      }
    }
  }
}

// The rectangle a text of the chart's font occupies with its top-left
// corner at (x, y).
QRect TextCell(const TChartDrawing& chart, const QImage& image, int x, int y, const QString& text) {
  const QFontMetrics metrics(chart.Font(), &image);
  return QRect(x, y, metrics.horizontalAdvance(text), metrics.height());
}

// The ink found around a text cell lies within it (glyphs may touch the
// advance by one pixel) and is not a speck.
void ExpectTextIn(const QImage& image, const QRect& cell, const char* what) {
  const QRect ink = InkBounds(image, cell.adjusted(-6, -3, 6, 3));
  ASSERT_FALSE(ink.isEmpty()) << what;
  EXPECT_GE(ink.left(), cell.left() - 1) << what;
  EXPECT_LE(ink.right(), cell.right() + 1) << what;
  EXPECT_GE(ink.top(), cell.top()) << what;
  EXPECT_LE(ink.bottom(), cell.bottom()) << what;
  EXPECT_GE(ink.width(), cell.width() / 2) << what;
}

TEST(ChartPixels, HorizontalLabelsAreCentredUnderTheirBoundaries) {
  for (const bool schlumberger : {true, false}) {
    TResondixData document = EmptyFrameDocument(schlumberger);
    TChartDrawing chart;
    const QImage image = Render(chart, document, 800, 600);
    const QString texts[] = {"1", "10", "100", schlumberger ? "L/2" : " a "};
    for (int i = 0; i <= 3; ++i) {
      const QFontMetrics metrics(chart.Font(), &image);
      const int w = metrics.horizontalAdvance(texts[i]);
      const QRect cell =
          TextCell(chart, image, chart.LeftMargin + i * chart.DecadeWidth - w / 2, chart.PlotBottom + chart.TickY, texts[i]);
      ExpectTextIn(image, cell, texts[i].toUtf8().constData());
    }
    if (!schlumberger) {
      // The Wenner title " a " keeps its blanks: its ink starts one blank in.
      const QFontMetrics metrics(chart.Font(), &image);
      const int x = chart.PlotRight() - metrics.horizontalAdvance(" a ") / 2;
      const QRect ink = InkBounds(image, QRect(x - 6, chart.PlotBottom + chart.TickY, 40, metrics.height()));
      EXPECT_GE(ink.left(), x + metrics.horizontalAdvance(" ") - 1);
    }
  }
}

TEST(ChartPixels, VerticalLabelsEndBesideTheAxisAndTheTopHasNone) {
  TResondixData document = EmptyFrameDocument();
  TChartDrawing chart;
  const QImage image = Render(chart, document, 800, 600);
  const QFontMetrics metrics(chart.Font(), &image);
  const char* expected[] = {"10", "1e+2", "1e+3"};
  for (int j = 0; j < chart.DecadeCount; ++j) {
    const QString text = TChartDrawing::DecadeLabel(chart.FirstDecade + j);
    ASSERT_EQ(text.toStdString(), expected[j]);
    const int w = metrics.horizontalAdvance(text);
    const int y = static_cast<int>(std::nearbyint(chart.PlotHeight - j * chart.DecadeHeight)) - metrics.height() / 2 +
                  chart.TopMargin;
    const QRect cell = TextCell(chart, image, chart.LeftMargin - 10 - w, y, text);
    ExpectTextIn(image, cell, expected[j]);
    EXPECT_GE(InkBounds(image, cell).right(), chart.LeftMargin - 10 - 3) << "right-aligned";
  }
  // A label at the top boundary would reach above the title's line.
  EXPECT_TRUE(InkBounds(image, QRect(chart.LeftMargin - 50, 1, 40, chart.TopMargin - 2)).isEmpty());
}

TEST(ChartPixels, LabelsBeyondTwentyNineDecadesAreEmpty) {
  // 1e31 .. 1e35: every label of the range is empty, so nothing stands
  // left of the axis but the title. (Below 1 the axis always reaches up to
  // the labelled 1.)
  TResondixData document = MakeDocument({{0, 3e31}, {0, 4e34}}, {{2e33, 0}}, false);
  TChartDrawing chart;
  const QImage image = Render(chart, document, 800, 600);
  ASSERT_EQ(chart.FirstDecade, 31);
  ASSERT_EQ(chart.DecadeCount, 4);
  // Left of the horizontal label "1", from below the title to below the
  // bottom boundary.
  const QRect besideAxis(1, chart.TopMargin + 20, chart.LeftMargin - 6, chart.PlotBottom - chart.TopMargin - 10);
  const QRect ink = InkBounds(image, besideAxis);
  EXPECT_TRUE(ink.isEmpty()) << ink.x() << ", " << ink.y() << " " << ink.width() << "x" << ink.height();
}

// A document whose range has 9 decades, for the title's two forms.
TResondixData NineDecades() { return MakeDocument({{0, 0.0042}, {0, 3.7e5}}, {{130, 0}}, false); }

TEST(ChartPixels, TitleIsStackedUpToDecadesOf22Pixels) {
  const struct {
    const char* Name;
    int Height;
    bool Stacked;
  } rows[] = {
      // (245 - 25) * 0.9 / 9 = 22 exactly.
      {"22 pixels", 245, true},
      {"22.1 pixels", 246, false},
      {"tall", 600, false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Name);
    TResondixData document = NineDecades();
    TChartDrawing chart;
    const QImage image = Render(chart, document, 800, row.Height);
    ASSERT_EQ(chart.DecadeCount, 9);
    const QFontMetrics metrics(chart.Font(), &image);
    const int h = metrics.height();
    const QRect line = TextCell(chart, image, chart.LeftMargin - 10 - metrics.horizontalAdvance("Rho"),
                                chart.TopMargin + 6 - h / 2, "Rho");
    const QString letters = "Rho";
    for (int n = 1; n <= 3; ++n) {
      const QRect cell = TextCell(chart, image, chart.LeftMargin - 58, n * h - 8 + chart.TopMargin, letters.mid(n - 1, 1));
      if (row.Stacked)
        ExpectTextIn(image, cell, "stacked letter");
      else
        EXPECT_TRUE(InkBounds(image, cell).isEmpty()) << "letter " << n;
    }
    if (row.Stacked)
      EXPECT_TRUE(InkBounds(image, line).isEmpty());
    else
      ExpectTextIn(image, line, "title in one line");
  }
}

// Black pixels within the square of half size r around (x, y).
int BlackAround(const QImage& image, int x, int y, int r) {
  int count = 0;
  for (int j = y - r; j <= y + r; ++j)
    for (int i = x - r; i <= x + r; ++i) count += IsBlack(image, i, j);
  return count;
}

TEST(ChartPixels, CrossesAndDiamonds) {
  // 800 x 600 over 10 .. 10000: symbols of half size round(10 * 0.6) = 6 by
  // round(9 * 0.7) = 6, clear of the grid.
  TResondixData document = MakeDocument(
      {{2.0, 480}, {2.0, 60}, {1.6, 35}, {40, 180}}, {{130, 0}}, false);
  TChartDrawing chart;
  const QImage image = Render(chart, document, 800, 600);
  ASSERT_EQ(chart.SymbolHalfWidth, 6);
  ASSERT_EQ(chart.SymbolHalfHeight, 6);

  const struct {
    const char* Name;
    int Measurement;
    bool Diamond;
    int CentreX;  // worked out by hand
    int CentreY;
  } rows[] = {
      {"first is a cross", 1, false, 144, 252},
      {"repeated spacing is a diamond", 2, true, 144, 408},
      {"smaller spacing is a diamond", 3, true, 123, 449},
      {"growing spacing is a cross", 4, false, 421, 326},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Name);
    const int x = chart.SpacingToX(document.HalfSpacing[row.Measurement]);
    const int y = chart.RhoToY(document.ApparentRho[row.Measurement]);
    EXPECT_EQ(x, row.CentreX);
    EXPECT_EQ(y, row.CentreY);
    if (row.Diamond) {
      for (const QPoint corner : {QPoint(x - 6, y), QPoint(x, y + 6), QPoint(x + 6, y), QPoint(x, y - 6)})
        EXPECT_TRUE(IsBlack(image, corner.x(), corner.y())) << corner.x() << ", " << corner.y();
      EXPECT_TRUE(IsBlack(image, x - 3, y + 3));
      EXPECT_TRUE(IsBlack(image, x + 3, y - 3));
      EXPECT_FALSE(IsBlack(image, x, y)) << "hollow";
      EXPECT_FALSE(IsBlack(image, x - 6, y - 6));
      EXPECT_EQ(BlackAround(image, x, y, 6), 24) << "four edges of six steps";
    } else {
      for (int i = -6; i < 6; ++i) {
        EXPECT_TRUE(IsBlack(image, x + i, y)) << "horizontal arm " << i;
        EXPECT_TRUE(IsBlack(image, x, y + i)) << "vertical arm " << i;
      }
      EXPECT_FALSE(IsBlack(image, x + 6, y)) << "the arm stops one short";
      EXPECT_FALSE(IsBlack(image, x, y + 6)) << "the arm stops one short";
      EXPECT_EQ(BlackAround(image, x, y, 6), 23) << "two arms of 12 sharing the centre";
    }
  }
}

TEST(ChartPixels, RowsWithoutALogarithmDrawNothing) {
  // An L/2 of 0 or less, or a resistivity of 0, has no place on the axes:
  // such rows leave the image exactly as rows with nothing at all.
  TResondixData withRows = MakeDocument({{0, 55}, {60, 0}, {-3, 41}}, {{130, 0}}, false);
  TResondixData blank = MakeDocument({{0, 0}, {0, 0}, {0, 0}}, {{130, 0}}, false);
  TChartDrawing first;
  TChartDrawing second;
  EXPECT_EQ(Render(first, withRows, 640, 480), Render(second, blank, 640, 480));
}

TEST(ChartPixels, LayerStaircase) {
  // 800 x 600 over 10 .. 10000; interfaces at 2.5 m and 45 m.
  TResondixData document = MakeDocument({{0, 100}}, {{240, 2.5}, {28, 45}, {700, 0}}, true);
  TChartDrawing chart;
  const QImage image = Render(chart, document, 800, 600);
  ASSERT_EQ(chart.FirstDecade, 1);
  // Rows of 240, 28 and 700 ohm.m and columns of 2.5 m and 45 m, by hand.
  const int y240 = 304, y28 = 465, y700 = 224;
  const int x25 = 165, x45 = 432;
  EXPECT_EQ(chart.RhoToY(240), y240);
  EXPECT_EQ(chart.RhoToY(28), y28);
  EXPECT_EQ(chart.RhoToY(700), y700);
  EXPECT_EQ(chart.SpacingToX(2.5), x25);
  EXPECT_EQ(chart.SpacingToX(45), x45);

  for (const QPoint corner : {QPoint(x25, y240), QPoint(x25, y28), QPoint(x45, y28), QPoint(x45, y700)})
    EXPECT_TRUE(IsBlack(image, corner.x(), corner.y())) << corner.x() << ", " << corner.y();
  for (int x = chart.LeftMargin; x < x25; ++x) EXPECT_TRUE(IsBlack(image, x, y240)) << x;
  for (int y = y240; y < y28; ++y) EXPECT_TRUE(IsBlack(image, x25, y)) << y;
  for (int x = x25; x < x45; ++x) EXPECT_TRUE(IsBlack(image, x, y28)) << x;
  for (int y = y28; y > y700; --y) EXPECT_TRUE(IsBlack(image, x45, y)) << y;
  for (int x = x45; x < chart.PlotRight(); ++x) EXPECT_TRUE(IsBlack(image, x, y700)) << x;
  // No overshoot at the corners.
  EXPECT_FALSE(IsBlack(image, x25 + 1, y240));
  EXPECT_FALSE(IsBlack(image, x25, y28 + 1));
  EXPECT_FALSE(IsBlack(image, x45, y700 - 1));
}

TEST(ChartPixels, StaircaseInterfacesAreHeldOnTheAxis) {
  // Interfaces at 0.5 m and 2000 m stand on the left axis and the right
  // end: the middle layer runs across the whole plot.
  TResondixData document = MakeDocument({{0, 100}}, {{240, 0.5}, {28, 2000}, {700, 0}}, true);
  TChartDrawing chart;
  const QImage image = Render(chart, document, 800, 600);
  const int y28 = chart.RhoToY(28);
  const int y240 = chart.RhoToY(240);
  for (int x = chart.LeftMargin; x < chart.PlotRight(); ++x) ASSERT_TRUE(IsBlack(image, x, y28)) << x;
  EXPECT_FALSE(IsBlack(image, chart.LeftMargin - 1, y28));
  EXPECT_FALSE(IsBlack(image, chart.PlotRight() + 1, y28));
  EXPECT_FALSE(IsBlack(image, chart.LeftMargin + 1, y240)) << "the first layer has no width";
}

TEST(ChartPixels, OneLayerIsOneLineAcrossThePlot) {
  TResondixData document = MakeDocument({{0, 100}}, {{320, 0}}, true);
  TChartDrawing chart;
  const QImage image = Render(chart, document, 640, 480);
  const int y = chart.RhoToY(320);
  for (int x = chart.LeftMargin; x <= chart.PlotRight(); ++x) ASSERT_TRUE(IsBlack(image, x, y)) << x;
  EXPECT_FALSE(IsBlack(image, chart.LeftMargin + 20, y - 1));
  EXPECT_FALSE(IsBlack(image, chart.LeftMargin + 20, y + 1));
}

// The row the curve's segment from a to b takes at column x: the pixel
// nearest to the straight line, for a segment longer along x than along y.
int RowOnSegment(QPoint a, QPoint b, int x) {
  return static_cast<int>(std::floor(a.y() + double(x - a.x()) * (b.y() - a.y()) / (b.x() - a.x()) + 0.5));
}

TEST(ChartPixels, ModelCurveSpansTheAxis) {
  // A thin top layer of 12.5 ohm.m on 480 ohm.m: at 1 m the curve is well
  // away from both steps of the staircase, and at 1000 m still below the
  // half-space.
  TResondixData document = MakeDocument({{0, 100}}, {{12.5, 0.6}, {480, 0}}, true);
  TChartDrawing chart;
  const QImage image = Render(chart, document, 800, 600);

  // The 31 samples: log10 spacing 0 .. 3 in tenths.
  const auto sample = [&](int i) {
    const double x = i / 10.0;
    const double logRho = document.CurveLogRhoAt(x);
    return QPoint(static_cast<int>(std::nearbyint(chart.DecadeWidth * x + chart.LeftMargin)),
                  static_cast<int>(std::nearbyint(chart.PlotHeight - (logRho - chart.FirstDecade) * chart.DecadeHeight)) +
                      chart.TopMargin);
  };
  const QPoint first = sample(0), second = sample(1), last = sample(30), beforeLast = sample(29);
  EXPECT_EQ(first.x(), chart.LeftMargin);
  EXPECT_EQ(last.x(), chart.PlotRight());
  EXPECT_NE(first.y(), chart.RhoToY(12.5));
  EXPECT_NE(first.y(), chart.RhoToY(480));
  EXPECT_LT(last.y() - chart.RhoToY(480), 30) << "close to the half-space at 1000 m";
  EXPECT_GT(last.y(), chart.RhoToY(480)) << "but below it";
  ASSERT_LE(std::abs(second.y() - first.y()), second.x() - first.x());
  ASSERT_LE(std::abs(last.y() - beforeLast.y()), last.x() - beforeLast.x());

  EXPECT_TRUE(IsBlack(image, first.x() + 1, RowOnSegment(first, second, first.x() + 1)));
  EXPECT_TRUE(IsBlack(image, first.x() + 2, RowOnSegment(first, second, first.x() + 2)));
  EXPECT_TRUE(IsBlack(image, last.x() - 1, RowOnSegment(beforeLast, last, last.x() - 1)));
  EXPECT_FALSE(IsBlack(image, last.x() + 1, last.y())) << "the curve ends at the right side";
  EXPECT_FALSE(IsBlack(image, first.x() - 1, first.y())) << "the curve starts at the left side";
}

}  // namespace
