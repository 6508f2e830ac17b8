// The forward models: one curve table per repaint and per trial of a fit, and
// the interpolation at a spacing, for the filter model and the accurate one.
// Reports allocations per iteration.
#include <benchmark/benchmark.h>

#include "AllocationCounter.h"
#include "ChartDrawing.h"
#include "ResondixData.h"

namespace {

TResondixData Model(bool schlumberger, int layers) {
  const double rho[] = {0, 142.7, 23.4, 612.0, 48.0};
  const double depth[] = {0, 3.15, 17.8, 96.0};
  TResondixData d;
  d.SetSoundingType(schlumberger);
  d.LayerCount = layers;
  for (int i = 1; i <= layers; ++i) {
    d.LayerRho[i] = rho[i];
    d.LayerDepth[i] = i < layers ? depth[i] : HalfSpaceDepth;
  }
  return d;
}

void ComputeModelCurve(benchmark::State& state) {
  TResondixData d = Model(state.range(0) != 0, static_cast<int>(state.range(1)));
  TAllocationProbe probe;
  for (auto _ : state) {
    d.ComputeModelCurve();
    benchmark::DoNotOptimize(d.CurveNodeSlope[5]);
  }
  state.counters["allocations"] = probe.PerIteration(state.iterations());
}
BENCHMARK(ComputeModelCurve)
    ->ArgNames({"schlumberger", "layers"})
    ->ArgsProduct({{1, 0}, {2, 3, 4}});

void CurveLogRhoAt(benchmark::State& state) {
  TResondixData d = Model(true, 4);
  d.ComputeModelCurve();
  double x = 0;
  TAllocationProbe probe;
  for (auto _ : state) {
    benchmark::DoNotOptimize(d.CurveLogRhoAt(x));
    x += 0.1;  // walks the whole table: the interval search is linear
    if (x > 3.4) x = 0;
  }
  state.counters["allocations"] = probe.PerIteration(state.iterations());
}
BENCHMARK(CurveLogRhoAt);

// What one repaint and one trial of a fit ask of a forward model: the table,
// then the curve at the 15 default spacings and at the chart's 31 samples.
void CurveAtSpacingsAndChartSamples(benchmark::State& state) {
  TResondixData d = Model(state.range(0) != 0, static_cast<int>(state.range(2)));
  d.ForwardModel = state.range(1) != 0 ? TForwardModel::Accurate : TForwardModel::Filter;
  d.ComputeModelCurve();  // the accurate model designs its filter at first use
  TAllocationProbe probe;
  for (auto _ : state) {
    d.ComputeModelCurve();
    for (int i = 1; i <= MaxMeasurements; ++i) benchmark::DoNotOptimize(d.CurveLogRhoAt(DecimalLog(DefaultHalfSpacing(i))));
    for (int i = 0; i < CurveSampleCount; ++i) benchmark::DoNotOptimize(d.CurveLogRhoAt(CurveSampleLogSpacing(i)));
  }
  state.counters["allocations"] = probe.PerIteration(state.iterations());
}
BENCHMARK(CurveAtSpacingsAndChartSamples)
    ->ArgNames({"schlumberger", "accurate", "layers"})
    ->ArgsProduct({{1, 0}, {0, 1}, {3, 4}})
    ->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
