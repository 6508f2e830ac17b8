#include "chart/ReportChart.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <array>
#include <cmath>

#include "chart/ReportStyle.h"
#include "document/ResondixData.h"
#include "engine/SmoothInversion.h"

namespace {

// Units of 1/96 inch: gaps between a text and what it labels, between the
// axis title and the legend, and the legend's swatches.
constexpr double LabelGap = 4;
constexpr double TitleGap = 6;
constexpr double SwatchLength = 18;
constexpr double LegendItemGap = 14;
constexpr double DotRadius = 2.6;
constexpr double ContentLineWidth = 1.6;
constexpr double GridLineWidth = 0.5;
// The smooth model's dashes and gaps, in line widths, and the height of its
// depth of investigation's mark.
constexpr double SmoothModelDash = 4;
constexpr double SmoothModelGap = 2.5;
constexpr double DoiMarkHeight = 10;

// Plain numbers from 10^-PlainDecadeLimit to 10^PlainDecadeLimit.
constexpr int PlainDecadeLimit = 6;

const QColor DecadeGridColour(190, 190, 190);
const QColor MinorGridColour(228, 228, 228);
const QColor EquivalentModelColour(185, 185, 185);

struct TLegendItem {
  enum TKind { Dot, Curve, Staircase, Smooth, Equivalent } Kind;
  QString Text;
};
constexpr int MaxLegendItems = 5;
using TLegendItems = std::array<TLegendItem, MaxLegendItems>;

QPen LinePen(const QColor& colour, double width) {
  return QPen(colour, width, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
}

QPen SmoothModelPen() {
  QPen pen = LinePen(ReportSmoothModelColour, ContentLineWidth);
  pen.setDashPattern({SmoothModelDash, SmoothModelGap});
  return pen;
}

}  // namespace

// --- Texts -----------------------------------------------------------------

QString TReportChart::DecadeLabel(int exponent) {
  if (std::abs(exponent) > PlainDecadeLimit)
    return (exponent < 0 ? QStringLiteral("1e") : QStringLiteral("1e+")) + QString::number(exponent);
  if (exponent >= 0) return QStringLiteral("1") + QString(exponent, QLatin1Char('0'));
  return QStringLiteral("0.") + QString(-exponent - 1, QLatin1Char('0')) + QStringLiteral("1");
}

QString TReportChart::SpacingTitle(bool isSchlumberger) {
  return isSchlumberger ? QStringLiteral("AB/2 (m)") : QStringLiteral("a (m)");
}

QString TReportChart::RhoTitle() { return QString::fromUtf8("Apparent resistivity (\u03a9\u00b7m)"); }

// --- Mapping -------------------------------------------------------------------

double TReportChart::LogSpacingToX(double logSpacing) const { return Plot.left() + logSpacing * DecadeSize; }

double TReportChart::LogRhoToY(double logRho) const {
  return Plot.bottom() - (logRho - Range.FirstDecade) * DecadeSize;
}

QPointF TReportChart::PointOf(double spacing, double rho) const {
  return QPointF(LogSpacingToX(DecimalLog(spacing)), LogRhoToY(DecimalLog(rho)));
}

double TReportChart::DepthToX(double depth) const {
  // Depths outside the axis stand on its ends, as in the window's chart.
  if (!(depth > 0)) return Plot.left();
  return std::clamp(LogSpacingToX(DecimalLog(depth)), Plot.left(), Plot.right());
}

bool TReportChart::ShowsModel() const { return Data->ModelValid; }

// --- Layout ----------------------------------------------------------------------

namespace {

// The legend's items for what the chart shows.
int LegendItems(bool model, bool smooth, bool equivalent, TLegendItems& items) {
  int count = 0;
  items[count++] = {TLegendItem::Dot, QStringLiteral("Measured")};
  if (model) {
    items[count++] = {TLegendItem::Curve, QStringLiteral("Model curve")};
    items[count++] = {TLegendItem::Staircase, QStringLiteral("Layer model (resistivity against depth)")};
  }
  if (smooth) items[count++] = {TLegendItem::Smooth, QStringLiteral("Smooth model")};
  if (model && equivalent) items[count++] = {TLegendItem::Equivalent, QStringLiteral("Equivalent models")};
  return count;
}

double ItemWidth(const QFontMetricsF& metrics, const TLegendItem& item) {
  return SwatchLength + LabelGap + metrics.horizontalAdvance(item.Text);
}

// Lays the legend's items out in rows within width, each where place(item,
// x, row) is told, x from the legend's left; returns the number of rows.
template <class TPlace>
int FlowLegend(const QFontMetricsF& metrics, const TLegendItems& items, int count, double width,
               TPlace&& place) {
  int row = 0;
  double x = 0;
  for (int i = 0; i < count; ++i) {
    const double w = ItemWidth(metrics, items[i]);
    if (x > 0 && x + w > width) {
      ++row;
      x = 0;
    }
    place(items[i], x, row);
    x += w + LegendItemGap;
  }
  return row + 1;
}

}  // namespace

void TReportChart::ComputeLayout(QPainter& painter, const QRectF& area) {
  Range = DecadeRangeOf(*Data);
  const QFontMetricsF labels(ReportFont(ReportSmallPoints), painter.device());
  const QFontMetricsF titles(ReportFont(ReportTextPoints), painter.device());
  LabelHeight = labels.height();

  LabelWidth = 0;
  for (int j = 0; j <= Range.DecadeCount; ++j)
    LabelWidth = std::max(LabelWidth, labels.horizontalAdvance(DecadeLabel(Range.FirstDecade + j)));
  const double left = titles.height() + TitleGap + LabelWidth + LabelGap;
  const double right = labels.horizontalAdvance(DecadeLabel(SpacingDecadeCount)) / 2 + 1;
  const double top = LabelHeight / 2 + 1;

  TLegendItems items;
  const int count = LegendItems(ShowsModel(), SmoothModel != nullptr, EquivalentModelCount > 0, items);
  const double legendHeight = FlowLegend(labels, items, count, area.width(), [](const TLegendItem&, double, int) {}) *
                              LabelHeight;
  const double bottom = LabelGap + LabelHeight + LabelGap + titles.height() + TitleGap + legendHeight;

  DecadeSize = std::max(0.0, std::min((area.width() - left - right) / SpacingDecadeCount,
                                      (area.height() - top - bottom) / Range.DecadeCount));
  Plot = QRectF(area.left() + left, area.top() + top, SpacingDecadeCount * DecadeSize, Range.DecadeCount * DecadeSize);
  Legend = QRectF(area.left(), Plot.bottom() + bottom - legendHeight, area.width(), legendHeight);
}

double TReportChart::HeightFor(QPainter& painter, double width) {
  if (Data == nullptr) return 0;
  const QRectF unbounded(0, 0, width, 1e6);
  ComputeLayout(painter, unbounded);
  return Legend.bottom();
}

// --- Drawing ---------------------------------------------------------------------

void TReportChart::Draw(QPainter& painter, const QRectF& area) {
  if (Data == nullptr) return;
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setRenderHint(QPainter::TextAntialiasing, true);
  ComputeLayout(painter, area);
  DrawGrid(painter);
  DrawContent(painter);
  DrawAxes(painter);
  DrawLegend(painter);
  painter.restore();
}

void TReportChart::DrawGrid(QPainter& painter) const {
  // Light lines at 2 to 9 times every decade, darker ones at the decades.
  for (int k = 1; k <= 9; ++k) {
    painter.setPen(LinePen(k == 1 ? DecadeGridColour : MinorGridColour, GridLineWidth));
    const double f = DecimalLog(k);
    for (int d = 0; d < SpacingDecadeCount; ++d) {
      const double x = LogSpacingToX(d + f);
      painter.drawLine(QPointF(x, Plot.top()), QPointF(x, Plot.bottom()));
    }
    for (int d = 0; d < Range.DecadeCount; ++d) {
      const double y = LogRhoToY(Range.FirstDecade + d + f);
      painter.drawLine(QPointF(Plot.left(), y), QPointF(Plot.right(), y));
    }
  }
}

void TReportChart::DrawAxes(QPainter& painter) const {
  painter.setPen(LinePen(Qt::black, 1));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(Plot);

  painter.setFont(ReportFont(ReportSmallPoints));
  const QFontMetricsF labels(painter.font(), painter.device());
  for (int d = 0; d <= SpacingDecadeCount; ++d) {
    const QString text = DecadeLabel(d);
    const double w = labels.horizontalAdvance(text);
    painter.drawText(QPointF(LogSpacingToX(d) - w / 2, Plot.bottom() + LabelGap + labels.ascent()), text);
  }
  // Every decade, or every so many where they are too close for a label
  // each.
  const int step = DecadeSize >= LabelHeight ? 1 : static_cast<int>(std::ceil(LabelHeight / std::max(DecadeSize, 1e-3)));
  for (int j = 0; j <= Range.DecadeCount; j += step) {
    const QString text = DecadeLabel(Range.FirstDecade + j);
    const double w = labels.horizontalAdvance(text);
    const double y = LogRhoToY(Range.FirstDecade + j);
    painter.drawText(QPointF(Plot.left() - LabelGap - w, y - labels.height() / 2 + labels.ascent()), text);
  }

  painter.setFont(ReportFont(ReportTextPoints));
  const QFontMetricsF titles(painter.font(), painter.device());
  const QString spacing = SpacingTitle(Data->IsSchlumberger);
  painter.drawText(QPointF(Plot.center().x() - titles.horizontalAdvance(spacing) / 2,
                           Plot.bottom() + LabelGap + labels.height() + LabelGap + titles.ascent()),
                   spacing);
  // The resistivity's title reads upward along the left edge.
  const QString rho = RhoTitle();
  painter.save();
  painter.translate(Plot.left() - LabelGap - LabelWidth - TitleGap - titles.descent(),
                    Plot.center().y() + titles.horizontalAdvance(rho) / 2);
  painter.rotate(-90);
  painter.drawText(QPointF(0, 0), rho);
  painter.restore();
}

void TReportChart::DrawContent(QPainter& painter) {
  painter.save();
  painter.setClipRect(Plot, Qt::IntersectClip);
  painter.setBrush(Qt::NoBrush);
  DrawSmoothModel(painter);
  if (ShowsModel()) {
    painter.setPen(LinePen(EquivalentModelColour, 1));
    for (int m = 0; m < EquivalentModelCount; ++m) DrawStaircase(painter, EquivalentModels[m]);
    painter.setPen(LinePen(ReportStaircaseColour, ContentLineWidth));
    DrawStaircase(painter, Data->Layers());
    Curve.Compute(Data->Layers(), Data->CurveSettings());
    painter.setPen(LinePen(ReportCurveColour, ContentLineWidth));
    ForEachCurveStretch(Curve, [&](const QPointF* samples, int count) {
      std::array<QPointF, CurveSampleCount> points;
      for (int i = 0; i < count; ++i) points[i] = QPointF(LogSpacingToX(samples[i].x()), LogRhoToY(samples[i].y()));
      if (count > 1) painter.drawPolyline(points.data(), count);
    });
  }
  painter.setPen(Qt::NoPen);
  painter.setBrush(Qt::black);
  const TResondixData& d = *Data;
  for (int i = 1; i <= d.MeasurementCount; ++i) {
    if (!IsPlottable(d.HalfSpacing[i], d.ApparentRho[i])) continue;
    // An infinite value (only memory holds one) has no place either.
    const QPointF dot = PointOf(d.HalfSpacing[i], d.ApparentRho[i]);
    if (std::isfinite(dot.x()) && std::isfinite(dot.y())) painter.drawEllipse(dot, DotRadius, DotRadius);
  }
  painter.restore();
}

template <int Capacity>
void TReportChart::DrawStaircase(QPainter& painter, const TLayeredEarth<Capacity>& model) const {
  std::array<TStaircaseCorner, 2 * Capacity> corners;
  const int count = StaircaseCorners(model, corners);
  std::array<QPointF, 2 * Capacity> points;
  for (int i = 0; i < count; ++i) {
    points[i] = QPointF(DepthToX(corners[i].Depth), LogRhoToY(DecimalLog(corners[i].Rho)));
    // A resistivity without a logarithm has no place on the axis.
    if (!std::isfinite(points[i].y())) return;
  }
  painter.drawPolyline(points.data(), count);
}

void TReportChart::DrawSmoothModel(QPainter& painter) const {
  if (SmoothModel == nullptr) return;
  painter.setPen(SmoothModelPen());
  DrawStaircase(painter, SmoothModel->Profile);
  DrawDepthOfInvestigation(painter, SmoothModel->DepthOfInvestigation);
}

void TReportChart::DrawDepthOfInvestigation(QPainter& painter, double depth) const {
  // A mark up from the depth axis with its label above it; none for a depth
  // beyond the axis.
  const double x = LogSpacingToX(DecimalLog(depth));
  if (!(depth > 0) || !(x >= Plot.left() && x <= Plot.right())) return;
  const double top = Plot.bottom() - DoiMarkHeight;
  painter.setPen(LinePen(ReportSmoothModelColour, ContentLineWidth));
  painter.drawLine(QPointF(x, Plot.bottom()), QPointF(x, top));
  painter.setFont(ReportFont(ReportSmallPoints));
  const QFontMetricsF metrics(painter.font(), painter.device());
  const double w = metrics.horizontalAdvance(DepthOfInvestigationLabel);
  const double left = std::clamp(x - w / 2, Plot.left() + LabelGap, Plot.right() - LabelGap - w);
  painter.drawText(QPointF(left, top - LabelGap / 2 - metrics.descent()), DepthOfInvestigationLabel);
}

void TReportChart::DrawLegend(QPainter& painter) const {
  TLegendItems items;
  const int count = LegendItems(ShowsModel(), SmoothModel != nullptr, EquivalentModelCount > 0, items);
  painter.setFont(ReportFont(ReportSmallPoints));
  const QFontMetricsF metrics(painter.font(), painter.device());
  FlowLegend(metrics, items, count, Legend.width(), [&](const TLegendItem& item, double at, int row) {
    const double x = Legend.left() + at;
    const double y = Legend.top() + row * LabelHeight;
    const double middle = y + LabelHeight / 2;
    painter.setBrush(Qt::NoBrush);
    switch (item.Kind) {
      case TLegendItem::Dot:
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::black);
        painter.drawEllipse(QPointF(x + SwatchLength / 2, middle), DotRadius, DotRadius);
        break;
      case TLegendItem::Curve:
      case TLegendItem::Smooth:
        // The smooth model's dashes would break a step this short.
        painter.setPen(item.Kind == TLegendItem::Smooth ? SmoothModelPen()
                                                        : LinePen(ReportCurveColour, ContentLineWidth));
        painter.drawLine(QPointF(x, middle), QPointF(x + SwatchLength, middle));
        break;
      case TLegendItem::Staircase: {
        painter.setPen(LinePen(ReportStaircaseColour, ContentLineWidth));
        const std::array<QPointF, 4> step = {QPointF(x, middle - 3), QPointF(x + SwatchLength / 2, middle - 3),
                                             QPointF(x + SwatchLength / 2, middle + 3),
                                             QPointF(x + SwatchLength, middle + 3)};
        painter.drawPolyline(step.data(), static_cast<int>(step.size()));
        break;
      }
      case TLegendItem::Equivalent:
        painter.setPen(LinePen(EquivalentModelColour, 3));
        painter.drawLine(QPointF(x, middle), QPointF(x + SwatchLength, middle));
        break;
    }
    painter.setPen(Qt::black);
    painter.drawText(QPointF(x + SwatchLength + LabelGap, y + metrics.ascent()), item.Text);
  });
}
