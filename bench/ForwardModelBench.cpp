// The forward models: one curve table per repaint and per trial of a fit, and
// the interpolation at a spacing, for the filter model and the accurate one.
// Reports allocations per iteration.
#include <benchmark/benchmark.h>

#include "bench/AllocationCounter.h"
#include "chart/ChartDrawing.h"
#include "engine/ForwardModel.h"

namespace {

// The program's default spacings, 1.5 m to 40 m.
constexpr double Spacings[15] = {1.5, 2, 2.5, 3, 4, 5, 6, 8, 10, 12, 15, 20, 25, 30, 40};

TLayerModel Model(int layers) {
  const TLayerModel four = LayerModel({{142.7, 3.15}, {23.4, 17.8}, {612.0, 96.0}, {48.0}});
  TLayerModel model = four;
  model.LayerCount = layers;
  model.LayerDepth[layers] = HalfSpaceDepth;
  return model;
}

void ComputeModelCurve(benchmark::State& state) {
  const TLayerModel model = Model(static_cast<int>(state.range(1)));
  const TCurveSettings settings{state.range(0) != 0, TForwardModel::Filter};
  TModelCurve curve;
  TAllocationProbe probe;
  for (auto _ : state) {
    curve.Compute(model, settings);
    benchmark::DoNotOptimize(curve.FilterTable().CurveNodeSlope[5]);
  }
  state.counters["allocations"] = probe.PerIteration(state.iterations());
}
BENCHMARK(ComputeModelCurve)
    ->ArgNames({"schlumberger", "layers"})
    ->ArgsProduct({{1, 0}, {2, 3, 4}});

void CurveLogRhoAt(benchmark::State& state) {
  TModelCurve curve;
  curve.Compute(Model(4), {});
  double x = 0;
  TAllocationProbe probe;
  for (auto _ : state) {
    benchmark::DoNotOptimize(curve.LogRhoAt(x));
    x += 0.1;  // walks the whole table: the interval search is linear
    if (x > 3.4) x = 0;
  }
  state.counters["allocations"] = probe.PerIteration(state.iterations());
}
BENCHMARK(CurveLogRhoAt);

// What one repaint and one trial of a fit ask of a forward model: the table,
// then the curve at the 15 default spacings and at the chart's 31 samples.
void CurveAtSpacingsAndChartSamples(benchmark::State& state) {
  const TLayerModel model = Model(static_cast<int>(state.range(2)));
  const TCurveSettings settings{state.range(0) != 0,
                                state.range(1) != 0 ? TForwardModel::Accurate : TForwardModel::Filter};
  TModelCurve curve;
  curve.Compute(model, settings);  // the accurate model designs its filter at first use
  TAllocationProbe probe;
  for (auto _ : state) {
    curve.Compute(model, settings);
    for (double spacing : Spacings) benchmark::DoNotOptimize(curve.LogRhoAt(DecimalLog(spacing)));
    for (int i = 0; i < CurveSampleCount; ++i) benchmark::DoNotOptimize(curve.LogRhoAt(CurveSampleLogSpacing(i)));
  }
  state.counters["allocations"] = probe.PerIteration(state.iterations());
}
BENCHMARK(CurveAtSpacingsAndChartSamples)
    ->ArgNames({"schlumberger", "accurate", "layers"})
    ->ArgsProduct({{1, 0}, {0, 1}, {3, 4}})
    ->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
