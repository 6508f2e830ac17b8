// The report page as it is drawn: on A4 and Letter, with the longest texts a
// document holds, every block stays inside the margins and apart from the
// others, nothing is drawn in the margins, and the chart's dots stand where
// the measurements are; the misfit and warnings fed to it; the chart's
// smooth model and plain decade labels.
#include <cmath>
#include <limits>
#include <vector>

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QSvgGenerator>

#include "chart/ReportPage.h"
#include "chart/ReportStyle.h"
#include "engine/SmoothInversion.h"
#include "tests/TestSupport.h"
#include "tests/chart/ChartTestSupport.h"

namespace {

// A surveyed sounding (15 measurements, 4 layers) fitted in all its values,
// with every description line as long as the file allows: words, and one
// word that fills its line.
TResondixData LongestDocument() {
  TResondixData d;
  EXPECT_TRUE(d.LoadFromFile(ExamplePath("survey/ves-01.rxd")));
  for (int i = 1; i <= InfoLineCount; ++i) {
    std::string line;
    while (line.size() < 80) line += "Wide words Www ";
    d.Info[i] = i == 6 ? std::string(80, 'W') : line;
  }
  const TUnknownFlags all = AllUnknowns(d.LayerCount);
  d.RhoUnknown = all.RhoUnknown;
  d.DepthUnknown = all.DepthUnknown;
  d.ValidateDocument();
  EXPECT_EQ(d.Fit().Status, 0);
  return d;
}

// What draw(painter) draws into an SVG drawing at the report's resolution.
template <class TDraw>
QString SvgOf(TDraw&& draw) {
  QBuffer buffer;
  QSvgGenerator svg;
  svg.setOutputDevice(&buffer);
  svg.setResolution(ReportDotsPerInch);
  QPainter painter(&svg);
  draw(painter);
  painter.end();
  return QString::fromUtf8(buffer.data());
}

bool IsNeutralDark(QRgb pixel) {
  return qRed(pixel) < 80 && qGreen(pixel) < 80 && qBlue(pixel) < 80 && std::abs(qRed(pixel) - qBlue(pixel)) < 20;
}

TEST(ReportPage, OnBothPapersEveryBlockStaysOnThePageApartAndTheDotsAreTheMeasurements) {
  TResondixData d = LongestDocument();
  std::vector<TLayerModel> equivalent(3, d.Layers());
  for (int m = 0; m < 3; ++m) equivalent[m].LayerRho[2] *= 0.8 + 0.2 * m;
  const struct {
    const char* Name;
    TPaper Paper;
    bool Stopped;  // the fit stopped early: its words and a warning, no uncertainties
  } rows[] = {{"A4", TPaper::A4, false}, {"Letter", TPaper::Letter, false}, {"Letter, warned", TPaper::Letter, true}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Name);
    d.FitStatus = row.Stopped ? 4 : 0;
    TReportPage page;
    page.Data = &d;
    page.FileName = QString(120, 'F') + ".rxd";
    page.EquivalentModels = equivalent.data();
    page.EquivalentModelCount = 3;
    const QSizeF size = ReportPageSize(ReportPageLayout(row.Paper));
    QImage image = NewCanvasImage(std::ceil(size.width()), std::ceil(size.height()));
    image.fill(Qt::red);  // the page paints its paper white itself
    {
      QPainter painter(&image);
      page.Draw(painter, size);
    }
    const QRectF blocks[] = {page.Heading, page.ChartArea, page.MeasurementTable, page.ModelBlock, page.FitBlock,
                             page.Footer};
    for (int i = 0; i < 6; ++i) {
      EXPECT_TRUE(page.Content.contains(blocks[i])) << "block " << i;
      for (int j = i + 1; j < 6; ++j) EXPECT_FALSE(blocks[i].intersects(blocks[j])) << "blocks " << i << ", " << j;
    }
    EXPECT_TRUE(page.ChartArea.contains(page.Chart.Plot.united(page.Chart.Legend)));
    EXPECT_EQ(ReportTextsOf(d, page.FileName).Warnings.size(), row.Stopped ? 1u : 0u);

    int marked = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x)
        if (!page.Content.contains(QPointF(x + 0.5, y + 0.5))) marked += image.pixel(x, y) != qRgb(255, 255, 255);
    EXPECT_EQ(marked, 0) << "pixels drawn in the margins";

    for (int i = 1; i <= d.MeasurementCount; ++i) {
      const QPoint dot = page.Chart.PointOf(d.HalfSpacing[i], d.ApparentRho[i]).toPoint();
      EXPECT_TRUE(page.Chart.Plot.contains(dot)) << "measurement " << i;
      EXPECT_TRUE(IsNeutralDark(image.pixel(dot))) << "measurement " << i;
      EXPECT_FALSE(IsNeutralDark(image.pixel(dot + QPoint(6, 0)))) << "beside measurement " << i;
    }
  }
}

// Values no file gives (a hand-edited file's extremes, what only memory
// holds) still give a page inside its margins with only numbers on it.
TEST(ReportPage, OddDocumentsKeepToThePageWithOnlyNumbers) {
  constexpr double Inf = std::numeric_limits<double>::infinity(), NaN = std::numeric_limits<double>::quiet_NaN();
  TResondixData documents[] = {
      TResondixData(),
      MakeDocument({{-5, -3}, {1e300, 1e300}, {1e-300, 2}, {7, 5e-324}}, {{-40, 30}, {1e300, 2}, {1e-300, -8}, {2.5, 0}}),
      MakeDocument({{NaN, 10}, {10, NaN}, {Inf, 5}, {3, Inf}}, {{NaN, 5}, {Inf, NaN}, {7, 0}})};
  const QSizeF size = ReportPageSize(ReportPageLayout(TPaper::A4));
  for (TResondixData& document : documents) {
    SCOPED_TRACE(testing::Message() << "document " << &document - documents);
    document.ModelValid = true;
    TReportPage page;
    page.Data = &document;
    const QString text = SvgOf([&](QPainter& painter) { page.Draw(painter, size); }).toLower();
    EXPECT_TRUE(text.contains("<svg") && !text.contains(QRegularExpression("\\b(nan|inf)\\b")));
    for (const QRectF& block : {page.Heading, page.ChartArea, page.MeasurementTable, page.ModelBlock, page.FitBlock})
      EXPECT_TRUE(page.Content.contains(block));
    EXPECT_TRUE(page.ChartArea.contains(page.Chart.Plot));
  }
}

TEST(ReportDiagnostics, MisfitOfEachMeasurementAgainstTheCurveAndTheWarningsOfTheFitThatMadeTheModel) {
  TResondixData d;
  ASSERT_TRUE(d.LoadFromFile(ExamplePath("three-layer-schlumberger.rxd")));
  TModelCurve curve;
  curve.Compute(d.Layers(), d.CurveSettings());
  // Measured a quarter above the curve, a fifth below it, on it; one empty.
  const double factors[] = {1.25, 0.8, 1};
  for (int i = 1; i <= 3; ++i) d.ApparentRho[i] = factors[i - 1] * curve.ModelApparentRho(d.HalfSpacing[i]);
  d.ApparentRho[4] = 0;
  d.ValidateDocument();
  d.ModelValid = true;
  TReportDiagnostics diagnostics = ReportDiagnostics(d);
  EXPECT_NEAR(diagnostics.MisfitPercent[1], -20, 1e-9);
  EXPECT_NEAR(diagnostics.MisfitPercent[2], 25, 1e-9);
  EXPECT_NEAR(diagnostics.MisfitPercent[3], 0, 1e-9);
  EXPECT_TRUE(std::isnan(diagnostics.MisfitPercent[4]));
  EXPECT_TRUE(diagnostics.Warnings.empty()) << "no fit has made the model";
  d.ModelValid = false;
  EXPECT_TRUE(std::isnan(ReportDiagnostics(d).MisfitPercent[1])) << "no curve without a valid model";

  // A fit's warnings stand while its layers do.
  d.HasFitResult = true;
  d.LastFit.Model = d.Layers();
  d.LastFit.UnknownCount = 2;
  const struct { double Status; int UnknownCount; const char* Warning; } rows[] = {
      {0, 2, ""}, {0, 15, "As many unknowns as measurements"}, {1, 2, "no solution"},
      {2, 2, "admissible range"}, {4, 2, "too many rejected steps"}};
  for (const auto& row : rows) {
    d.FitStatus = row.Status;
    d.LastFit.UnknownCount = row.UnknownCount;
    diagnostics = ReportDiagnostics(d);
    if (*row.Warning == 0) {
      EXPECT_TRUE(diagnostics.Warnings.empty()) << row.Status;
      continue;
    }
    ASSERT_EQ(diagnostics.Warnings.size(), 1u) << row.Warning;
    EXPECT_NE(diagnostics.Warnings[0].find(row.Warning), std::string::npos) << diagnostics.Warnings[0];
  }
  d.LayerRho[2] += 1;
  EXPECT_TRUE(ReportDiagnostics(d).Warnings.empty()) << "the layers were changed since";
}

// The smooth model, also beside a layer model that is not valid: its
// dashed staircase from the top of its profile, with a corner pair at each
// cell, its depth of investigation marked, and its legend entry; nothing of
// it without one.
TEST(ReportChart, TheSmoothModelIsDrawnWhenGivenAndNotOtherwise) {
  TResondixData d;
  ASSERT_TRUE(d.LoadFromFile(ExamplePath("survey/ves-01.rxd")));
  TSmoothModel smooth;
  ASSERT_EQ(d.SmoothModel(DefaultErrorPercent, smooth), "");
  const QString green = ReportSmoothModelColour.name();
  const QRegularExpression staircase(green + R"re(" [^>]*stroke-dasharray[^>]*>\s*<polyline [^>]*points="([^"]*)")re");
  const QRegularExpression mark(green + R"re(" (?![^>]*dasharray)[^>]*>\s*<polyline [^>]*points="([-\d.]+),)re");
  const struct {
    const char* Name;
    const TSmoothModel* Smooth;
    bool ModelValid;
  } rows[] = {{"none", nullptr, true}, {"given", &smooth, true}, {"given, no valid layer model", &smooth, false}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Name);
    d.ModelValid = row.ModelValid;
    TReportChart chart;
    chart.Data = &d;
    chart.SmoothModel = row.Smooth;
    const QString svg = SvgOf([&](QPainter& painter) { chart.Draw(painter, QRectF(0, 0, 500, 500)); });
    EXPECT_EQ(svg.contains(green), row.Smooth != nullptr);
    EXPECT_EQ(svg.contains(">Smooth model<"), row.Smooth != nullptr);
    EXPECT_EQ(svg.contains(">" + DepthOfInvestigationLabel + "<"), row.Smooth != nullptr);
    if (row.Smooth == nullptr) continue;
    const QStringList corners = staircase.match(svg).captured(1).split(' ', Qt::SkipEmptyParts);
    ASSERT_EQ(corners.size(), 2 * ProfileCellCount);
    EXPECT_NEAR(corners[0].section(',', 1).toDouble(), chart.LogRhoToY(DecimalLog(smooth.Profile.LayerRho[1])), 0.01);
    EXPECT_NEAR(mark.match(svg).captured(1).toDouble(), chart.LogSpacingToX(DecimalLog(smooth.DepthOfInvestigation)),
                0.01);
  }
}

TEST(ReportChart, DecadesArePlainNumbers) {
  const struct { int Exponent; const char* Label; } rows[] = {
      {-7, "1e-7"}, {-6, "0.000001"}, {-1, "0.1"}, {0, "1"}, {3, "1000"}, {6, "1000000"}, {7, "1e+7"}};
  for (const auto& row : rows) EXPECT_EQ(TReportChart::DecadeLabel(row.Exponent), row.Label) << row.Exponent;
}

}  // namespace
