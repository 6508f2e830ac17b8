#include "chart/ChartDrawing.h"

#include <QPainter>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

#include "chart/Canvas.h"
#include "document/ResondixData.h"
#include "engine/Equivalence.h"
#include "engine/SmoothInversion.h"

namespace {

const QString ChartFontName = QStringLiteral("Arial");
constexpr int ScreenPointSize = 10;

// Texts beside the vertical axis: the labels end this far left of it, and
// the stacked title stands this far left of it, its letters raised a little.
constexpr int LabelGap = 10;
constexpr int StackedTitleOffset = 58;
constexpr int StackedTitleRaise = 8;
constexpr int TitleDrop = 6;
// Up to this decade height the title "Rho" is stacked letter by letter.
constexpr double StackedTitleMaxDecadeHeight = 22;

const QColor EquivalentModelColor(192, 192, 192);
// The smooth model's dashes and gaps, and the height of its depth of
// investigation's mark, in ticks.
constexpr int SmoothModelDash = 4;
constexpr int DoiMarkTicks = 3;

// A hot spot catches the mouse within this distance, exclusive, on both
// axes: a square of 11 x 11 pixels.
constexpr int HitReach = 6;

// Resets the target canvas when a drawing ends, also by an exception, so
// that the field never names a canvas that is gone.
class TTargetScope {
public:
  TTargetScope(TCanvas*& slot, TCanvas& canvas) : Slot(slot) { Slot = &canvas; }
  ~TTargetScope() { Slot = nullptr; }
  TTargetScope(const TTargetScope&) = delete;
  TTargetScope& operator=(const TTargetScope&) = delete;

private:
  TCanvas*& Slot;
};

}  // namespace

TChartDrawing::TChartDrawing() : CurrentFont(ScreenFont()) {}

QFont TChartDrawing::ScreenFont() { return CanvasFont(ChartFontName, ScreenPointSize); }

QFont TChartDrawing::DeviceFont(const QPaintDevice& device) const {
  QFont font = ScreenFont();
  if (Printing) font.setPointSizeF(ScreenPointSize * double(ScreenDotsPerInch) / device.logicalDpiY());
  return font;
}

// --- Drawing -------------------------------------------------------------

void TChartDrawing::DrawChart(QPainter& painter) {
  TCanvas canvas(painter);
  TTargetScope scope(TargetCanvas, canvas);
  painter.setFont(DeviceFont(*painter.device()));
  CurrentFont = canvas.Font();

  // A copy for the clipboard has no border; the screen and the printer do.
  if (Copying)
    canvas.FillRect(0, 0, DrawWidth, DrawHeight);
  else
    canvas.Rectangle(0, 0, DrawWidth, DrawHeight);
  if (Data == nullptr) return;

  ComputeValueRange();
  DrawFrame();
  DrawAxes();
  DrawMeasurements();
  DrawSmoothModel();
  if (Data->ModelValid) {
    DrawLayerModel();
    Curve.Compute(Data->Layers(), Data->CurveSettings());
    DrawModelCurve();
  }
  DrawAnnotations();
}

void TChartDrawing::ComputeValueRange() {
  if (Data == nullptr) return;
  const TDecadeRange range = DecadeRangeOf(*Data);
  ValueMin = range.ValueMin;
  ValueMax = range.ValueMax;
  FirstDecade = range.FirstDecade;
  DecadeCount = range.DecadeCount;
}

void TChartDrawing::ComputeLayout() {
  const int w = DrawWidth;
  PlotHeight = (DrawHeight - TopMargin) * 0.9;
  DecadeHeight = PlotHeight / DecadeCount;
  LeftMargin = RoundPixel(w * LeftMarginFraction);
  DecadeWidth = (w - 2 * LeftMargin) / SpacingDecadeCount;
  if (Printing) {
    // Square decades, unless three of them would leave less room right of
    // the plot than left of it, where the screen layout has the horizontal
    // axis title: then the vertical axis shrinks to the width of the screen
    // layout.
    DecadeWidth = RoundPixel(DecadeHeight);
    if (SpacingDecadeCount * DecadeWidth + 2 * LeftMargin > w) {
      PlotHeight = w - 2 * LeftMargin;
      DecadeHeight = PlotHeight / DecadeCount;
      DecadeWidth = RoundPixel(DecadeHeight);
    }
  }
  PlotBottom = RoundPixel(PlotHeight) + TopMargin;
  TickX = w / 80;
  TickY = PlotBottom / 60;
}

void TChartDrawing::DrawFrame() {
  ComputeLayout();
  TCanvas& canvas = *TargetCanvas;
  const int right = PlotRight();
  const std::array<QPoint, 5> frame = {QPoint(LeftMargin, TopMargin), QPoint(right, TopMargin),
                                       QPoint(right, PlotBottom), QPoint(LeftMargin, PlotBottom),
                                       QPoint(LeftMargin, TopMargin)};
  canvas.Polyline(frame.data(), static_cast<int>(frame.size()));

  // Dotted lines at 10 m and 100 m; the first dot of each is always set.
  if (TickY == 0) TickY = 1;
  for (int j = 1; j <= 2; ++j) {
    const int x = LeftMargin + j * DecadeWidth;
    int k = 1;
    do {
      canvas.SetPixel(x, TopMargin + k * TickY);
      ++k;
    } while (k * TickY < PlotHeight);
  }

  // Dotted lines at the inner decade boundaries, counted from the top.
  if (TickX == 0) TickX = 1;
  for (int j = 1; j <= DecadeCount - 1; ++j) {
    const int y = RoundPixel(j * DecadeHeight) + TopMargin;
    int x = LeftMargin + TickX;
    do {
      canvas.SetPixel(x, y);
      x += TickX;
    } while (x < right);
  }
}

void TChartDrawing::DrawAxes() {
  TCanvas& canvas = *TargetCanvas;

  // Minor ticks at 1..9 times every decade, up from the horizontal axis and
  // right from the vertical one; the decade boundaries get one too.
  for (int k = 1; k <= 9; ++k) {
    const double f = DecimalLog(k);
    for (int d = 0; d <= 2; ++d) {
      const int x = RoundPixel((d + f) * DecadeWidth + LeftMargin);
      canvas.MoveTo(x, PlotBottom);
      canvas.LineTo(x, PlotBottom - TickY);
    }
    for (int d = 0; d <= DecadeCount - 1; ++d) {
      const int y = RoundPixel(PlotHeight - (d + f) * DecadeHeight) + TopMargin;
      canvas.MoveTo(LeftMargin, y);
      canvas.LineTo(LeftMargin + TickX, y);
    }
  }

  // Horizontal labels centred under the decade boundaries; the axis title
  // stands where 1000 would be.
  const QString horizontal[4] = {QStringLiteral("1"), QStringLiteral("10"), QStringLiteral("100"),
                                 Data->IsSchlumberger ? QStringLiteral("L/2") : QStringLiteral(" a ")};
  for (int i = 0; i <= 3; ++i) {
    const int w = canvas.TextWidth(horizontal[i]);
    canvas.TextOut(LeftMargin + i * DecadeWidth - w / 2, PlotBottom + TickY, horizontal[i]);
  }

  DrawVerticalLabels();
  DrawTitles();
}

void TChartDrawing::DrawVerticalLabels() {
  TCanvas& canvas = *TargetCanvas;
  // Right-aligned beside the axis, centred on each boundary but the top one.
  for (int j = 0; j <= DecadeCount - 1; ++j) {
    const QString text = DecadeLabel(FirstDecade + j);
    const int w = canvas.TextWidth(text);
    const int h = canvas.TextHeight(text);
    canvas.TextOut(LeftMargin - LabelGap - w, RoundPixel(PlotHeight - j * DecadeHeight) - h / 2 + TopMargin, text);
  }
}

void TChartDrawing::DrawTitles() {
  TCanvas& canvas = *TargetCanvas;
  const QString title = QStringLiteral("Rho");
  const int w = canvas.TextWidth(title);
  const int h = canvas.TextHeight(title);
  if (DecadeHeight <= StackedTitleMaxDecadeHeight) {
    // Too little room beside the top decade: one letter below the other.
    for (int n = 1; n <= title.size(); ++n)
      canvas.TextOut(LeftMargin - StackedTitleOffset, n * h - StackedTitleRaise + TopMargin, title.mid(n - 1, 1));
  } else {
    canvas.TextOut(LeftMargin - LabelGap - w, TopMargin + TitleDrop - h / 2, title);
  }
}

void TChartDrawing::DrawMeasurements() {
  TCanvas& canvas = *TargetCanvas;
  const TResondixData& d = *Data;
  SymbolHalfWidth = RoundPixel(TickX * 0.6);
  SymbolHalfHeight = RoundPixel(TickY * 0.7);
  for (int i = 1; i <= d.MeasurementCount; ++i) {
    if (!IsPlotted(i)) continue;
    const int left = SymbolLeft(i);
    const int y = RhoToY(d.ApparentRho[i]);
    if (i > 1 && d.HalfSpacing[i] <= d.HalfSpacing[i - 1]) {
      // A diamond marks a spacing that does not grow over the row before.
      const std::array<QPoint, 5> diamond = {
          QPoint(left, y), QPoint(left + SymbolHalfWidth, y + SymbolHalfHeight), QPoint(left + 2 * SymbolHalfWidth, y),
          QPoint(left + SymbolHalfWidth, y - SymbolHalfHeight), QPoint(left, y)};
      canvas.Polyline(diamond.data(), static_cast<int>(diamond.size()));
    } else {
      canvas.MoveTo(left, y);
      canvas.LineRel(2 * SymbolHalfWidth, 0);
      canvas.MoveTo(left + SymbolHalfWidth, y - SymbolHalfHeight);
      canvas.LineRel(0, 2 * SymbolHalfHeight);
    }
  }
}

void TChartDrawing::DrawLayerModel() {
  DrawEquivalentModels();
  DrawStaircase(Data->Layers());
}

QRect TChartDrawing::PlotInterior() const {
  return QRect(LeftMargin + 1, TopMargin + 1, PlotRight() - LeftMargin - 1, PlotBottom - TopMargin - 1);
}

void TChartDrawing::DrawEquivalentModels() {
  if (EquivalentModels == nullptr || EquivalentModelCount <= 0) return;
  // Their values may lie far outside the axes the document's values set:
  // they stay inside the frame, whose lines they leave black.
  QPainter& painter = TargetCanvas->Painter();
  painter.save();
  painter.setClipRect(PlotInterior());
  TargetCanvas->SetLineColor(EquivalentModelColor);
  for (int m = 0; m < EquivalentModelCount; ++m) DrawStaircase(EquivalentModels[m]);
  TargetCanvas->SetLineColor(Qt::black);
  painter.restore();
}

void TChartDrawing::DrawSmoothModel() {
  if (SmoothModel == nullptr) return;
  // Below its depth of investigation the model follows no measurement and
  // may leave the axes: it stays inside the frame.
  QPainter& painter = TargetCanvas->Painter();
  painter.save();
  painter.setClipRect(PlotInterior());
  TargetCanvas->SetDash(SmoothModelDash);
  DrawStaircase(SmoothModel->Profile);
  TargetCanvas->SetDash(0);
  painter.restore();
  DrawDepthOfInvestigation(SmoothModel->DepthOfInvestigation);
}

void TChartDrawing::DrawDepthOfInvestigation(double depth) {
  // A mark up from the depth axis with its label above it; none for a depth
  // beyond the axis.
  const int x = SpacingToX(depth);
  if (!(depth > 0) || x < LeftMargin || x > PlotRight()) return;
  TCanvas& canvas = *TargetCanvas;
  const int top = PlotBottom - DoiMarkTicks * TickY;
  canvas.MoveTo(x, PlotBottom);
  canvas.LineTo(x, top);
  const int w = canvas.TextWidth(DepthOfInvestigationLabel);
  const int left = std::clamp(x - w / 2, LeftMargin + 1, PlotRight() - w);
  canvas.TextOut(left, top - canvas.TextHeight(DepthOfInvestigationLabel), DepthOfInvestigationLabel);
}

template <int Capacity>
void TChartDrawing::DrawStaircase(const TLayeredEarth<Capacity>& model) {
  // The horizontal axis is depth here; the corners' depths are held to its
  // ends (a depth of 0 or less on the left one).
  std::array<TStaircaseCorner, 2 * Capacity> corners;
  const int count = StaircaseCorners(model, corners);
  std::array<QPoint, 2 * Capacity> steps;
  for (int i = 0; i < count; ++i)
    steps[i] = QPoint(std::clamp(SpacingColumn(corners[i].Depth, LeftMargin), LeftMargin, PlotRight()),
                      RhoToY(corners[i].Rho));
  TargetCanvas->Polyline(steps.data(), count);
}

void TChartDrawing::DrawModelCurve() {
  ForEachCurveStretch(Curve, [this](const QPointF* samples, int count) {
    std::array<QPoint, CurveSampleCount> points;
    for (int i = 0; i < count; ++i) points[i] = QPoint(LogSpacingToX(samples[i].x()), LogRhoToY(samples[i].y()));
    TargetCanvas->Polyline(points.data(), count);
  });
}

void TChartDrawing::DrawAnnotations() {
  // Last, over everything else, in the order they were made.
  for (int i = 0; i < static_cast<int>(Data->Annotations.size()); ++i)
    DrawOnCanvas(Data->Annotations[i], i == FocusedAnnotation);
}

void TChartDrawing::DrawOnCanvas(const TAnnotation& annotation, bool hasFocus) {
  const bool copyOrPrint = Copying || Printing;
  if (copyOrPrint || !AnnotationWidgets) DrawBox(annotation);
  if (hasFocus && !copyOrPrint) {
    const int x = annotation.ChartX, y = annotation.ChartY;
    TargetCanvas->FrameRect(x - 1, y - 1, x + annotation.Width + 1, y + annotation.Height + 1);
  }
}

void TChartDrawing::DrawBox(const TAnnotation& annotation) {
  TCanvas& canvas = *TargetCanvas;
  QPainter& painter = canvas.Painter();
  const QRect box = Printing ? PrintedBox(annotation)
                             : QRect(annotation.ChartX, annotation.ChartY, annotation.Width, annotation.Height);
  const QBrush brush = painter.brush();
  painter.setBrush(Qt::white);
  canvas.FillRect(box.left(), box.top(), box.left() + box.width(), box.top() + box.height());
  painter.setBrush(brush);

  const QFont font = painter.font();
  painter.setFont(DeviceFont(*painter.device()));
  canvas.TextRect(box.left() + AnnotationTextInset, box.top(), box.left() + box.width() - AnnotationTextInset,
                  box.top() + box.height(), QString::fromStdString(annotation.Text));
  painter.setFont(font);
}

QRect TChartDrawing::PrintedBox(const TAnnotation& annotation) const {
  const QRect box(annotation.ChartX, annotation.ChartY, annotation.Width, annotation.Height);
  if (AnnotationPlot.width() <= 0 || AnnotationPlot.height() <= 0) return box;
  // The place follows the plot frame along each axis, so that a label stays
  // on the curve or layer it names; the box keeps its size, so that its
  // text keeps its lines at the size of the tick numbers, as on the screen.
  const double horizontal = double(SpacingDecadeCount) * DecadeWidth / AnnotationPlot.width();
  const double vertical = PlotHeight / AnnotationPlot.height();
  const int x = RoundPixel(LeftMargin + (annotation.ChartX - AnnotationPlot.left()) * horizontal);
  const int y = RoundPixel(TopMargin + (annotation.ChartY - AnnotationPlot.top()) * vertical);
  // A box that reaches past the chart's edge (on the screen it is cut
  // there) is held inside the print's border, whole.
  return QRect(std::clamp(x, 1, std::max(1, DrawWidth - 1 - box.width())),
               std::clamp(y, 1, std::max(1, DrawHeight - 1 - box.height())), box.width(), box.height());
}

// --- Mapping ---------------------------------------------------------------

int TChartDrawing::SpacingColumn(double spacing, int offset) const {
  return RoundPixel(std::log(spacing) * DecadeWidth / Ln10 + offset);
}

int TChartDrawing::SpacingToX(double spacing) const { return SpacingColumn(spacing, LeftMargin); }

int TChartDrawing::LogSpacingToX(double logSpacing) const { return RoundPixel(DecadeWidth * logSpacing + LeftMargin); }

int TChartDrawing::RhoToY(double rho) const { return LogRhoToY(DecimalLog(rho)); }

int TChartDrawing::LogRhoToY(double logRho) const {
  return RoundPixel(PlotHeight - (logRho - FirstDecade) * DecadeHeight) + TopMargin;
}

QString TChartDrawing::DecadeLabel(int exponent) {
  if (exponent < -29 || exponent > 29) return QString();
  switch (exponent) {
    case -1:
      return QStringLiteral("0.1");
    case 0:
      return QStringLiteral("1");
    case 1:
      return QStringLiteral("10");
    default:
      return (exponent < 0 ? QStringLiteral("1e") : QStringLiteral("1e+")) + QString::number(exponent);
  }
}

// --- Measurements ------------------------------------------------------------

bool TChartDrawing::IsPlotted(int i) const { return IsPlottable(Data->HalfSpacing[i], Data->ApparentRho[i]); }

int TChartDrawing::SymbolLeft(int i) const { return SpacingColumn(Data->HalfSpacing[i], LeftMargin - SymbolHalfWidth); }

bool TChartDrawing::HitTestMeasurement(int X, int Y) {
  MeasurementUnderMouse = 0;
  if (Data == nullptr) return false;
  for (int i = 1; i <= Data->MeasurementCount; ++i) {
    if (!IsPlotted(i)) continue;
    // The hot spot lies half a tick below the symbol's centre and a little
    // left of it.
    const int hotX = SymbolLeft(i) + TickX / 2;
    const int hotY = RhoToY(Data->ApparentRho[i]) + TickY / 2;
    if (std::abs(X - hotX) < HitReach && std::abs(Y - hotY) < HitReach) {
      MeasurementUnderMouse = i;
      return true;
    }
  }
  return false;
}
