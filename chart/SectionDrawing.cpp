#include "chart/SectionDrawing.h"

#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

const QString SectionFontName = QStringLiteral("Arial");
constexpr int SectionPointSize = 9;

// Pixels: the white border around everything, the gap between a text and
// what it labels, tick lengths, the colour bar's width and its distance from
// the plot.
constexpr int Margin = 10;
constexpr int Gap = 4;
constexpr int TickLength = 5;
constexpr int BarWidth = 18;
constexpr int BarGap = 24;

// A column is this fraction of the smallest distance between neighbours
// wide, within these half widths in pixels.
constexpr double ColumnFill = 0.6;
constexpr int MinColumnHalfWidth = 3;
constexpr int MaxColumnHalfWidth = 45;

// Without a depth given, the plot reaches this far below the deepest layer
// boundary (as a factor of its depth); without any boundary, this deep.
constexpr double DepthReserve = 1.5;
constexpr double DefaultDepth = 10;

// About this many ticks along an axis at most.
constexpr int DepthTickCount = 8;
constexpr int DistanceTickSpacing = 80;  // pixels
// The colour bar labels 2 and 5 times each decade when a decade is this many
// text lines tall.
constexpr int IntermediateTickRoom = 5;

// Viridis, sampled at nine equal steps from 0 to 1; between them the colour
// goes linearly in RGB, in the columns as in the colour bar.
constexpr int ViridisStops = 9;
constexpr QRgb ViridisColours[ViridisStops] = {0x440154, 0x472d7b, 0x3b528b, 0x2c728e, 0x21908c,
                                               0x27ad81, 0x5dc863, 0xaadc32, 0xfde725};
// Numbers in a layer are white on the darker half of the scale.
constexpr double LightFrom = 0.55;

const QColor FrameColour(0, 0, 0);
const QColor BoundaryColour(40, 40, 40);

// 1, 2 or 5 times a power of ten, the smallest at least span / count.
double NiceStep(double span, int count) {
  const double raw = span / std::max(count, 1);
  if (!(raw > 0) || !std::isfinite(raw)) return 1;
  const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
  for (double m : {1.0, 2.0, 5.0})
    if (m * magnitude >= raw * (1 - 1e-9)) return m * magnitude;
  return 10 * magnitude;
}

int Round(double value) { return static_cast<int>(std::lround(std::clamp(value, -1e7, 1e7))); }

// A number as a label: no more digits than it needs, "." as the decimal
// point as everywhere in the program's drawings.
QString NumberLabel(double value) {
  if (std::abs(value) >= 10 || value == std::floor(value)) return QString::number(value, 'f', 0);
  return QString::number(value, 'g', 2);
}

QString RhoLabel(double rho) { return rho >= 10 ? QString::number(rho, 'f', 0) : QString::number(rho, 'f', 1); }

void CentredText(QPainter& painter, int x, int top, int height, const QString& text) {
  const int width = painter.fontMetrics().horizontalAdvance(text);
  painter.drawText(QRect(x - width / 2 - 1, top, width + 2, height), Qt::AlignHCenter | Qt::AlignTop, text);
}

// Text turned a quarter anticlockwise, centred on (x, y).
void VerticalText(QPainter& painter, int x, int y, const QString& text) {
  painter.save();
  painter.translate(x, y);
  painter.rotate(-90);
  const int width = painter.fontMetrics().horizontalAdvance(text);
  const int height = painter.fontMetrics().height();
  painter.drawText(QRect(-width / 2, -height / 2, width + 1, height), Qt::AlignCenter, text);
  painter.restore();
}

}  // namespace

// --- Mapping ---------------------------------------------------------------

QColor TSectionDrawing::Viridis(double t) {
  t = std::clamp(std::isfinite(t) ? t : 0.0, 0.0, 1.0) * (ViridisStops - 1);
  const int i = std::min(static_cast<int>(t), ViridisStops - 2);
  const double f = t - i;
  const QColor a(ViridisColours[i]);
  const QColor b(ViridisColours[i + 1]);
  return QColor(Round(a.red() + f * (b.red() - a.red())), Round(a.green() + f * (b.green() - a.green())),
                Round(a.blue() + f * (b.blue() - a.blue())));
}

// The colour scale is logarithmic; it uses the exact log10, as it has no
// pixel ties with the sounding chart to keep.
static double ScalePosition(double rho, double low, double high) {
  if (!(rho > 0)) return 0;
  return std::clamp((std::log10(rho) - std::log10(low)) / (std::log10(high) - std::log10(low)), 0.0, 1.0);
}

QColor TSectionDrawing::ColourOf(double rho) const { return Viridis(ScalePosition(rho, RhoLow, RhoHigh)); }

int TSectionDrawing::RhoToBarY(double rho) const {
  return Round(BarBottom - ScalePosition(rho, RhoLow, RhoHigh) * (BarBottom - BarTop));
}

int TSectionDrawing::DepthToY(double depth) const {
  return Round(PlotTop + depth / DepthBottom * (PlotBottom - PlotTop));
}

int TSectionDrawing::DistanceToX(double distance) const {
  const double span = DistanceHigh - DistanceLow;
  if (!(span > 0)) return (PlotLeft + PlotRight) / 2;
  const double usable = PlotRight - PlotLeft - 2 * ColumnHalfWidth;
  return Round(PlotLeft + ColumnHalfWidth + (distance - DistanceLow) / span * usable);
}

// --- Layout ----------------------------------------------------------------

void TSectionDrawing::ComputeRanges() {
  double low = 0;
  double high = 0;
  double deepest = 0;
  DistanceLow = DistanceHigh = Columns.empty() ? 0 : Columns.front().Distance;
  for (const TSectionColumn& column : Columns) {
    DistanceLow = std::min(DistanceLow, column.Distance);
    DistanceHigh = std::max(DistanceHigh, column.Distance);
    for (int i = 1; i <= column.Layers.LayerCount; ++i) {
      const double rho = column.Layers.LayerRho[i];
      if (!(rho > 0) || !std::isfinite(rho)) continue;
      low = low > 0 ? std::min(low, rho) : rho;
      high = std::max(high, rho);
      if (i < column.Layers.LayerCount) deepest = std::max(deepest, column.Layers.LayerDepth[i]);
    }
  }
  // Whole decades around every resistivity shown.
  RhoLow = low > 0 ? std::pow(10.0, std::floor(std::log10(low) + 1e-9)) : 1;
  RhoHigh = high > 0 ? std::pow(10.0, std::ceil(std::log10(high) - 1e-9)) : 10;
  if (!(RhoHigh > RhoLow)) RhoHigh = RhoLow * 10;

  if (MaxDepth > 0) {
    DepthBottom = MaxDepth;
  } else if (deepest > 0 && std::isfinite(deepest)) {
    const double wanted = deepest * DepthReserve;
    const double step = NiceStep(wanted, DepthTickCount);
    DepthBottom = std::ceil(wanted / step) * step;
  } else {
    DepthBottom = DefaultDepth;
  }
}

void TSectionDrawing::ComputeLayout(QPainter& painter) {
  const QFontMetrics metrics = painter.fontMetrics();
  LineHeight = metrics.height();
  ComputeRanges();

  const int depthLabelWidth = metrics.horizontalAdvance(NumberLabel(DepthBottom) + "0");
  int barLabelWidth = 0;
  for (double rho = RhoLow; rho <= RhoHigh * 1.0001; rho *= 10)
    barLabelWidth = std::max(barLabelWidth, metrics.horizontalAdvance(NumberLabel(rho)));

  PlotLeft = Margin + LineHeight + Gap + depthLabelWidth + TickLength;
  BarRight = std::max(PlotLeft + 2, DrawWidth - Margin - LineHeight - Gap - barLabelWidth - TickLength);
  BarLeft = BarRight - BarWidth;
  PlotRight = std::max(PlotLeft + 1, BarLeft - BarGap);

  // Columns: a share of the smallest gap between neighbours, the half width
  // h solving h = f * gap / span * (width - 2h).
  const int width = PlotRight - PlotLeft;
  double smallestGap = 0;
  std::vector<double> distances;
  for (const TSectionColumn& column : Columns) distances.push_back(column.Distance);
  std::sort(distances.begin(), distances.end());
  for (std::size_t i = 1; i < distances.size(); ++i) {
    const double gap = distances[i] - distances[i - 1];
    smallestGap = i == 1 ? gap : std::min(smallestGap, gap);
  }
  const double span = DistanceHigh - DistanceLow;
  double half = MaxColumnHalfWidth;
  if (span > 0) {
    const double k = ColumnFill / 2 * smallestGap / span;
    half = k * width / (1 + 2 * k);
  }
  ColumnHalfWidth = std::clamp(static_cast<int>(half), MinColumnHalfWidth, std::max(MinColumnHalfWidth, width / 4));
  ColumnHalfWidth = std::min(ColumnHalfWidth, MaxColumnHalfWidth);

  // Labels of neighbours that would touch go in two rows.
  Staggered = false;
  for (std::size_t i = 1; i < Columns.size(); ++i) {
    const int room = std::abs(DistanceToX(Columns[i].Distance) - DistanceToX(Columns[i - 1].Distance));
    const int needed = (metrics.horizontalAdvance(Columns[i].Name) + metrics.horizontalAdvance(Columns[i - 1].Name)) / 2;
    if (needed + Gap > room) Staggered = true;
  }
  PlotTop = Margin + (Staggered ? 4 : 2) * LineHeight + Gap;
  PlotBottom = std::max(PlotTop + 1, DrawHeight - Margin - 2 * LineHeight - TickLength - Gap);
  BarTop = PlotTop;
  BarBottom = PlotBottom;
}

// --- Drawing ---------------------------------------------------------------

void TSectionDrawing::DrawSection(QPainter& painter) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setRenderHint(QPainter::TextAntialiasing, true);
  QFont font(SectionFontName);
  font.setStyleHint(QFont::SansSerif);
  font.setPointSize(SectionPointSize);
  painter.setFont(font);
  painter.fillRect(QRect(0, 0, DrawWidth, DrawHeight), Qt::white);

  ComputeLayout(painter);
  for (const TSectionColumn& column : Columns) DrawColumn(painter, column);
  painter.setPen(FrameColour);
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(QRect(PlotLeft, PlotTop, PlotRight - PlotLeft - 1, PlotBottom - PlotTop - 1));
  DrawLabels(painter);
  DrawDepthAxis(painter);
  DrawDistanceAxis(painter);
  DrawColourBar(painter);
  painter.restore();
}

void TSectionDrawing::DrawColumn(QPainter& painter, const TSectionColumn& column) {
  const int x = DistanceToX(column.Distance);
  const int left = x - ColumnHalfWidth;
  const int right = x + ColumnHalfWidth;
  for (int i = 1; i <= column.Layers.LayerCount; ++i) {
    const double top = i == 1 ? 0 : column.Layers.LayerDepth[i - 1];
    if (!(top < DepthBottom)) break;
    const double bottom = i == column.Layers.LayerCount ? DepthBottom : std::min(column.Layers.LayerDepth[i], DepthBottom);
    const int y1 = DepthToY(top);
    const int y2 = DepthToY(bottom);
    const double rho = column.Layers.LayerRho[i];
    painter.fillRect(QRect(left, y1, right - left, y2 - y1), ColourOf(rho));
    if (i < column.Layers.LayerCount && column.Layers.LayerDepth[i] < DepthBottom) {
      painter.setPen(BoundaryColour);
      painter.drawLine(left, y2, right - 1, y2);
    }
    // The value where it fits inside the layer.
    const QString label = RhoLabel(rho);
    if (painter.fontMetrics().horizontalAdvance(label) + 2 * Gap <= right - left && y2 - y1 >= LineHeight + 2) {
      const bool dark = ScalePosition(rho, RhoLow, RhoHigh) < LightFrom;
      painter.setPen(dark ? Qt::white : Qt::black);
      CentredText(painter, x, (y1 + y2 - LineHeight) / 2, LineHeight, label);
    }
  }
  painter.setPen(BoundaryColour);
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(QRect(left, PlotTop, right - left - 1, DepthToY(DepthBottom) - PlotTop - 1));
}

void TSectionDrawing::DrawLabels(QPainter& painter) {
  painter.setPen(Qt::black);
  for (std::size_t i = 0; i < Columns.size(); ++i) {
    const TSectionColumn& column = Columns[i];
    const int x = DistanceToX(column.Distance);
    const int top = Margin + (Staggered && i % 2 == 1 ? 2 * LineHeight : 0);
    CentredText(painter, x, top, LineHeight, column.Name);
    if (std::isfinite(column.Rmse))
      CentredText(painter, x, top + LineHeight, LineHeight, "RMSE " + QString::number(column.Rmse, 'f', 3));
  }
}

void TSectionDrawing::DrawDepthAxis(QPainter& painter) {
  painter.setPen(Qt::black);
  const double step = NiceStep(DepthBottom, DepthTickCount);
  for (int k = 0; k * step <= DepthBottom * (1 + 1e-9); ++k) {
    const int y = DepthToY(k * step);
    painter.drawLine(PlotLeft - TickLength, y, PlotLeft - 1, y);
    const QString label = NumberLabel(k * step);
    const int width = painter.fontMetrics().horizontalAdvance(label);
    painter.drawText(QRect(PlotLeft - TickLength - Gap - width, y - LineHeight / 2, width + 1, LineHeight),
                     Qt::AlignRight | Qt::AlignVCenter, label);
  }
  VerticalText(painter, Margin + LineHeight / 2, (PlotTop + PlotBottom) / 2, QStringLiteral("Depth (m)"));
}

void TSectionDrawing::DrawDistanceAxis(QPainter& painter) {
  painter.setPen(Qt::black);
  const int titleTop = PlotBottom + TickLength + Gap + LineHeight;
  const int centre = (PlotLeft + PlotRight) / 2;
  if (!DistancesKnown) {
    CentredText(painter, centre, titleTop, LineHeight, QStringLiteral("Soundings in file order, evenly spaced"));
    return;
  }
  const double span = DistanceHigh - DistanceLow;
  const double step = NiceStep(span, std::max(1, (PlotRight - PlotLeft) / DistanceTickSpacing));
  for (double d = std::ceil(DistanceLow / step - 1e-9) * step; d <= DistanceHigh + step * 1e-9; d += step) {
    const int x = DistanceToX(d);
    painter.drawLine(x, PlotBottom, x, PlotBottom + TickLength - 1);
    CentredText(painter, x, PlotBottom + TickLength, LineHeight, NumberLabel(std::abs(d) < step * 1e-9 ? 0 : d));
    if (!(span > 0)) break;
  }
  CentredText(painter, centre, titleTop, LineHeight, QStringLiteral("Distance along the profile (m)"));
}

void TSectionDrawing::DrawColourBar(QPainter& painter) {
  QLinearGradient gradient(0, BarBottom, 0, BarTop);
  for (int i = 0; i < ViridisStops; ++i) gradient.setColorAt(double(i) / (ViridisStops - 1), QColor(ViridisColours[i]));
  painter.fillRect(QRect(BarLeft, BarTop, BarRight - BarLeft, BarBottom - BarTop), gradient);
  painter.setPen(FrameColour);
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(QRect(BarLeft, BarTop, BarRight - BarLeft - 1, BarBottom - BarTop - 1));

  // Every decade; also 2 and 5 times it where a decade has room for them.
  const double decades = std::log10(RhoHigh / RhoLow);
  const bool intermediate = (BarBottom - BarTop) / decades >= IntermediateTickRoom * LineHeight;
  for (double decade = RhoLow; decade <= RhoHigh * 1.0001; decade *= 10) {
    for (double m : {1.0, 2.0, 5.0}) {
      const double rho = decade * m;
      if ((m > 1 && !intermediate) || rho > RhoHigh * 1.0001) continue;
      const int y = RhoToBarY(rho);
      painter.drawLine(BarRight, y, BarRight + TickLength - 1, y);
      painter.drawText(QRect(BarRight + TickLength + Gap, y - LineHeight / 2, DrawWidth, LineHeight),
                       Qt::AlignLeft | Qt::AlignVCenter, NumberLabel(rho));
    }
  }
  VerticalText(painter, DrawWidth - Margin - LineHeight / 2, (BarTop + BarBottom) / 2,
               QString::fromUtf8("Resistivity (ohm\u00b7m)"));
}
