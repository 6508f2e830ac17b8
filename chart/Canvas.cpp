#include "chart/Canvas.h"

#include <QFontMetrics>
#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QPolygonF>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

constexpr double InchesPerMetre = 1 / 0.0254;

// floor(numerator / denominator) for a positive denominator.
std::int64_t FloorDiv(std::int64_t numerator, std::int64_t denominator) {
  std::int64_t quotient = numerator / denominator;
  if (numerator % denominator != 0 && numerator < 0) --quotient;
  return quotient;
}

// The pixel nearest to minor + offset / step, exact halves upward. The
// rounding works on the exact ratio, so a line and its reverse select the
// same pixels.
int NearestMinor(int minor, std::int64_t offset, std::int64_t step) {
  if (step < 0) {
    offset = -offset;
    step = -step;
  }
  return minor + static_cast<int>(FloorDiv(2 * offset + step, 2 * step));
}

}  // namespace

int RoundPixel(double value) {
  if (!(value > -PixelLimit)) return -PixelLimit;
  if (!(value < PixelLimit)) return PixelLimit;
  // nearbyint follows the current rounding mode, which is to nearest with
  // halves to even unless someone changed it.
  return static_cast<int>(std::nearbyint(value));
}

QImage NewCanvasImage(int width, int height, int dotsPerInch) {
  QImage image(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32);
  const int dotsPerMetre = static_cast<int>(std::lround(dotsPerInch * InchesPerMetre));
  image.setDotsPerMeterX(dotsPerMetre);
  image.setDotsPerMeterY(dotsPerMetre);
  image.fill(Qt::white);
  return image;
}

QFont CanvasFont(const QString& family, int pointSize) {
  QFont font(family);
  font.setStyleHint(QFont::SansSerif);
  font.setPointSize(pointSize);
  return font;
}

TCanvas::TCanvas(QPainter& painter) : Target(painter) {
  QPaintDevice* device = painter.device();
  const QPaintEngine* engine = painter.paintEngine();
  Exact = engine != nullptr && engine->type() == QPaintEngine::Raster && device != nullptr &&
          device->devicePixelRatioF() == 1 && painter.deviceTransform().isIdentity();
  if (device != nullptr) {
    DeviceWidth = device->width();
    DeviceHeight = device->height();
  }
  // One unit wide, like a dot: on a scaled screen lines and grid dots keep
  // the same weight.
  painter.setPen(QPen(Qt::black, 1, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
  painter.setBrush(Qt::white);
  painter.setRenderHint(QPainter::Antialiasing, false);
}

void TCanvas::SetFont(const QString& family, int pointSize) { Target.setFont(CanvasFont(family, pointSize)); }

QFont TCanvas::Font() const { return Target.font(); }

void TCanvas::SetLineColor(const QColor& color) {
  LineColor = color;
  QPen pen = Target.pen();
  pen.setColor(color);
  Target.setPen(pen);
}

void TCanvas::SetDash(int pixels) {
  Dash = std::max(pixels, 0);
  QPen pen = Target.pen();
  if (Dash == 0) pen.setStyle(Qt::SolidLine);
  else pen.setDashPattern({qreal(Dash), qreal(Dash)});
  Target.setPen(pen);
}

void TCanvas::MoveTo(int x, int y) {
  PenX = x;
  PenY = y;
}

void TCanvas::LineTo(int x, int y) {
  if (Exact)
    ExactLine(PenX, PenY, x, y);
  else
    GeometricLine(PenX, PenY, x, y);
  MoveTo(x, y);
}

void TCanvas::Polyline(const QPoint* points, int count) {
  if (count < 2) return;
  if (Exact) {
    for (int i = 1; i < count; ++i) ExactLine(points[i - 1].x(), points[i - 1].y(), points[i].x(), points[i].y());
    return;
  }
  // One path, so that a vector device joins the corners.
  QPolygonF path;
  path.reserve(count);
  for (int i = 0; i < count; ++i) path << QPointF(points[i]) + QPointF(0.5, 0.5);
  Target.drawPolyline(path);
}

void TCanvas::ExactLine(int x1, int y1, int x2, int y2) {
  const std::int64_t dx = std::int64_t(x2) - x1;
  const std::int64_t dy = std::int64_t(y2) - y1;
  if (dx == 0 && dy == 0) return;
  const bool alongX = std::abs(dx) >= std::abs(dy);
  const int majorStart = alongX ? x1 : y1;
  const int minorStart = alongX ? y1 : x1;
  const std::int64_t majorStep = alongX ? dx : dy;
  const std::int64_t minorStep = alongX ? dy : dx;
  const int majorEnd = alongX ? x2 : y2;

  // The pixels of the line span the start up to one short of the end; only
  // the part on the device is laid out, so that a line to a point far away
  // costs no more than one across the device.
  int low = majorStep > 0 ? majorStart : majorEnd + 1;
  int high = majorStep > 0 ? majorEnd - 1 : majorStart;
  low = std::max(low, 0);
  high = std::min(high, (alongX ? DeviceWidth : DeviceHeight) - 1);

  // Pixels of equal minor coordinate form one run, filled at once; a dashed
  // line leaves out the pixels of its gaps, counted from its start.
  const auto fill = [&](int from, int to, int minor) {
    const QRect run = alongX ? QRect(from, minor, to - from + 1, 1) : QRect(minor, from, 1, to - from + 1);
    Target.fillRect(run, LineColor);
  };
  const auto fillRun = [&](int from, int to, int minor) {
    if (Dash == 0) return fill(from, to, minor);
    for (int major = from; major <= to; ++major)
      if ((std::abs(std::int64_t(major) - majorStart) / Dash) % 2 == 0) fill(major, major, minor);
  };
  int runStart = low;
  int runMinor = 0;
  for (int major = low; major <= high; ++major) {
    const int minor = NearestMinor(minorStart, (major - majorStart) * minorStep, majorStep);
    if (major == low) {
      runMinor = minor;
    } else if (minor != runMinor) {
      fillRun(runStart, major - 1, runMinor);
      runStart = major;
      runMinor = minor;
    }
  }
  if (low <= high) fillRun(runStart, high, runMinor);
}

void TCanvas::GeometricLine(int x1, int y1, int x2, int y2) {
  const QPointF centre(0.5, 0.5);
  Target.drawLine(QPointF(x1, y1) + centre, QPointF(x2, y2) + centre);
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2) {
  FillRect(x1, y1, x2, y2);
  FrameRect(x1, y1, x2, y2);
}

void TCanvas::FrameRect(int x1, int y1, int x2, int y2) {
  if (x2 <= x1 || y2 <= y1) return;
  if (Exact) {
    Target.fillRect(QRect(x1, y1, x2 - x1, 1), Qt::black);
    Target.fillRect(QRect(x1, y2 - 1, x2 - x1, 1), Qt::black);
    Target.fillRect(QRect(x1, y1, 1, y2 - y1), Qt::black);
    Target.fillRect(QRect(x2 - 1, y1, 1, y2 - y1), Qt::black);
    return;
  }
  Target.save();
  Target.setBrush(Qt::NoBrush);
  Target.drawRect(QRectF(x1 + 0.5, y1 + 0.5, x2 - x1 - 1, y2 - y1 - 1));
  Target.restore();
}

void TCanvas::FillRect(int x1, int y1, int x2, int y2) {
  if (x2 <= x1 || y2 <= y1) return;
  Target.fillRect(QRect(x1, y1, x2 - x1, y2 - y1), Target.brush());
}

void TCanvas::SetPixel(int x, int y) { Target.fillRect(QRect(x, y, 1, 1), Qt::black); }

void TCanvas::TextOut(int x, int y, const QString& text) {
  if (text.isEmpty()) return;
  Target.drawText(QPoint(x, y + Target.fontMetrics().ascent()), text);
}

int TCanvas::TextWidth(const QString& text) const { return Target.fontMetrics().horizontalAdvance(text); }

int TCanvas::TextHeight(const QString&) const { return Target.fontMetrics().height(); }

void TCanvas::TextRect(int x1, int y1, int x2, int y2, const QString& text) {
  if (x2 <= x1 || y2 <= y1 || text.isEmpty()) return;
  QTextOption option;
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  Target.save();
  Target.setClipRect(QRect(x1, y1, x2 - x1, y2 - y1), Qt::IntersectClip);
  // Each line is drawn as a text of its own, so that vector pictures keep
  // the words as text.
  qreal top = y1;
  bool full = false;
  for (const QString& paragraph : text.split('\n')) {
    QTextLayout layout(paragraph, Target.font(), Target.device());
    layout.setTextOption(option);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid() && !full; line = layout.createLine()) {
      line.setLineWidth(x2 - x1);
      full = top + line.height() > y2;
      if (!full) Target.drawText(QPointF(x1, top + line.ascent()), paragraph.mid(line.textStart(), line.textLength()));
      top += line.height();
    }
    layout.endLayout();
    if (full) break;
  }
  Target.restore();
}
