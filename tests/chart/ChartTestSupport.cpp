#include "ChartTestSupport.h"

#include <memory>

#include <QApplication>
#include <QPainter>

#include <gtest/gtest.h>

#include "Canvas.h"

namespace {

// The chart tests draw with Qt's GUI layer, which needs one application
// object for the whole run; the widget tests need the widget kind.
class TQtEnvironment : public ::testing::Environment {
public:
  void SetUp() override {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "chart_tests";
    static char* argv[] = {name, nullptr};
    Application = std::make_unique<QApplication>(argc, argv);
  }
  void TearDown() override { Application.reset(); }

private:
  std::unique_ptr<QApplication> Application;
};

::testing::Environment* const QtEnvironment = ::testing::AddGlobalTestEnvironment(new TQtEnvironment);

}  // namespace

TResondixData MakeDocument(std::initializer_list<TMeasurement> measurements, std::initializer_list<TLayer> layers,
                           bool modelValid) {
  TResondixData d;
  d.SetMeasurementCount(static_cast<int>(measurements.size()));
  int i = 0;
  for (const TMeasurement& m : measurements) {
    ++i;
    d.HalfSpacing[i] = m.Spacing;
    d.ApparentRho[i] = m.Rho;
  }
  d.LayerCount = static_cast<int>(layers.size());
  i = 0;
  for (const TLayer& layer : layers) {
    ++i;
    d.LayerRho[i] = layer.Rho;
    d.LayerDepth[i] = i < d.LayerCount ? layer.Depth : HalfSpaceDepth;
  }
  d.ModelValid = modelValid;
  return d;
}

QImage Render(TChartDrawing& chart, TResondixData& document, int width, int height) {
  QImage image = NewCanvasImage(width, height);
  chart.Data = &document;
  chart.DrawWidth = width;
  chart.DrawHeight = height;
  QPainter painter(&image);
  chart.DrawChart(painter);
  return image;
}

bool IsBlack(const QImage& image, int x, int y) {
  return image.valid(x, y) && (image.pixel(x, y) & 0xffffffu) == 0;
}

bool IsInk(const QImage& image, int x, int y) { return image.valid(x, y) && qGray(image.pixel(x, y)) < 160; }

QRect InkBounds(const QImage& image, const QRect& area) {
  QRect bounds;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if (IsInk(image, x, y)) bounds |= QRect(x, y, 1, 1);
  return bounds;
}
