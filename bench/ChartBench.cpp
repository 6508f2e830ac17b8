// The chart: one complete DrawChart (background, range, frame and grid,
// axes and labels, measurements, layer staircase, a fresh model curve table
// and its 31 samples) into a raster image the size of a window, as every
// repaint does. Also the hit test of one mouse move. Reports allocations
// per iteration: the painter, its font and the label texts take a fixed
// number per drawing, the same for 2 measurements as for 15.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include "bench/AllocationCounter.h"
#include "chart/Canvas.h"
#include "chart/ChartDrawing.h"
#include "document/ResondixData.h"

namespace {

// A full table of 15 measurements on a four-layer Schlumberger model.
TResondixData Sounding() {
  const double rho[] = {0, 142.7, 23.4, 612.0, 48.0};
  const double depth[] = {0, 3.15, 17.8, 96.0};
  TResondixData d;
  d.LayerCount = 4;
  for (int i = 1; i <= 4; ++i) {
    d.LayerRho[i] = rho[i];
    d.LayerDepth[i] = i < 4 ? depth[i] : HalfSpaceDepth;
  }
  d.SetMeasurementCount(MaxMeasurements);
  for (int i = 1; i <= MaxMeasurements; ++i) d.ApparentRho[i] = 30 + 9.5 * i;
  d.ModelValid = true;
  d.MeasurementsValid = true;
  return d;
}

void DrawChart(benchmark::State& state) {
  const int width = static_cast<int>(state.range(0));
  const int height = static_cast<int>(state.range(1));
  TResondixData document = Sounding();
  TChartDrawing chart;
  chart.Data = &document;
  chart.DrawWidth = width;
  chart.DrawHeight = height;
  QImage image = NewCanvasImage(width, height);
  TAllocationProbe probe;
  for (auto _ : state) {
    QPainter painter(&image);
    chart.DrawChart(painter);
  }
  state.counters["allocations"] = probe.PerIteration(state.iterations());
}
BENCHMARK(DrawChart)->ArgNames({"width", "height"})->Args({800, 600})->Args({1920, 1080})->Unit(benchmark::kMicrosecond);

void HitTestMeasurement(benchmark::State& state) {
  TResondixData document = Sounding();
  TChartDrawing chart;
  chart.Data = &document;
  chart.DrawWidth = 800;
  chart.DrawHeight = 600;
  QImage image = NewCanvasImage(800, 600);
  {
    QPainter painter(&image);
    chart.DrawChart(painter);
  }
  int x = 0;
  TAllocationProbe probe;
  for (auto _ : state) {
    benchmark::DoNotOptimize(chart.HitTestMeasurement(x, 300));
    x = (x + 7) % 800;
  }
  state.counters["allocations"] = probe.PerIteration(state.iterations());
}
BENCHMARK(HitTestMeasurement);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
