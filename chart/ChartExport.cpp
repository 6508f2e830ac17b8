#include "chart/ChartExport.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QPainter>

#include <algorithm>

#include "chart/ChartDrawing.h"
#include "chart/PictureWriter.h"

namespace {

// Sets a flag of the drawing for as long as it lives.
class TFlagScope {
public:
  explicit TFlagScope(bool& flag) : Flag(flag) { Flag = true; }
  ~TFlagScope() { Flag = false; }
  TFlagScope(const TFlagScope&) = delete;
  TFlagScope& operator=(const TFlagScope&) = delete;

private:
  bool& Flag;
};

void SetSize(TChartDrawing& drawing, int width, int height) {
  drawing.DrawWidth = width;
  drawing.DrawHeight = height;
}

// The plot frame a screen chart of width x height has for the drawing's
// document.
QRectF ScreenPlot(const TChartDrawing& drawing, int width, int height) {
  TChartDrawing screen;
  screen.Data = drawing.Data;
  SetSize(screen, width, height);
  screen.ComputeValueRange();
  screen.ComputeLayout();
  return QRectF(screen.LeftMargin, screen.TopMargin, double(SpacingDecadeCount) * screen.DecadeWidth,
                screen.PlotHeight);
}

}  // namespace

QImage ChartBitmap(TChartDrawing& drawing, int width, int height, int dotsPerInch) {
  TFlagScope copying(drawing.Copying);
  SetSize(drawing, width, height);
  return PictureImage(QSize(width, height), dotsPerInch, [&drawing](QPainter& painter) { drawing.DrawChart(painter); });
}

QByteArray ChartSvg(TChartDrawing& drawing, int width, int height, int dotsPerInch) {
  TFlagScope copying(drawing.Copying);
  SetSize(drawing, width, height);
  return PictureBytes(TPictureFormat::Svg, QSize(width, height), dotsPerInch, QString(ChartPictureTitle),
                      [&drawing](QPainter& painter) { drawing.DrawChart(painter); });
}

void CopyToClipboard(TChartDrawing& drawing, int width, int height, int dotsPerInch, bool asMetafile) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  const QImage bitmap = ChartBitmap(drawing, width, height, dotsPerInch);
  if (!asMetafile) {
    clipboard->setImage(bitmap);
    return;
  }
  // Qt writes no Windows metafile; SVG is the vector picture that office
  // and drawing programs take, and the bitmap serves the others.
  auto* picture = new QMimeData;
  picture->setData(SvgMimeType, ChartSvg(drawing, width, height, dotsPerInch));
  picture->setImageData(bitmap);
  clipboard->setMimeData(picture);
}

bool PrintChart(TChartDrawing& drawing, QPaintDevice& page, int screenWidth, int screenHeight,
                int screenDotsPerInch) {
  drawing.AnnotationPlot = ScreenPlot(drawing, screenWidth, screenHeight);
  drawing.ScreenDotsPerInch = screenDotsPerInch;
  TFlagScope printing(drawing.Printing);
  // A square as wide as the chart on the screen, laid out in the screen's
  // pixels and scaled as a whole to the page's printable area: its texts,
  // lines and boxes keep their proportions to the plot, and every label
  // stays on the page, whatever the printer's resolution.
  const int side = std::max(screenWidth, 1);
  SetSize(drawing, side, side);
  QPainter painter;
  bool printed = painter.begin(&page);
  if (printed) {
    const double scale = std::min(page.width(), page.height()) / double(side);
    painter.scale(scale, scale);
    drawing.DrawChart(painter);
    printed = painter.end();
  }
  drawing.AnnotationPlot = QRectF();
  return printed;
}
