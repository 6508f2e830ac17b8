// The whole fit as the Fit command runs it: a three-layer Schlumberger
// sounding with five unknowns and a four-layer Wenner sounding with seven,
// 15 measurements each, from a starting model off by a factor of 2 in every
// value; and the bundled three-layer example by both forward models.
// Reports the fit's evaluation counter and allocations per fit.
#include <cmath>

#include <benchmark/benchmark.h>

#include "bench/AllocationCounter.h"
#include "document/ResondixData.h"

namespace {

// Measurements at the default spacings from the true model, with relative
// errors of up to 2 % in a fixed pattern; every value an unknown.
TResondixData Sounding(bool schlumberger, const TLayerModel& truth) {
  TResondixData d;
  d.SetSoundingType(schlumberger);
  d.Layers() = truth;
  d.ComputeModelCurve();
  for (int i = 1; i <= d.MeasurementCount; ++i)
    d.ApparentRho[i] = std::exp(d.Curve.LnApparentRho(d.HalfSpacing[i]) + 0.02 * std::sin(2.7 * i));
  for (int i = 1; i <= d.LayerCount; ++i) {
    d.RhoUnknown[i] = true;
    d.DepthUnknown[i] = i < d.LayerCount;
  }
  return d;
}

void Fit(benchmark::State& state, bool schlumberger, const TLayerModel& truth, const TLayerModel& start) {
  TResondixData d = Sounding(schlumberger, truth);
  TAllocationProbe probe;
  for (auto _ : state) {
    d.Layers() = start;
    d.Fit();
    benchmark::DoNotOptimize(d.Rmse);
  }
  state.counters["allocations"] = probe.PerIteration(state.iterations());
  state.counters["evaluations"] = d.LastFit.EvaluationCount;
  state.counters["status"] = d.FitStatus;
}

void SchlumbergerThreeLayers(benchmark::State& state) {
  Fit(state, true, LayerModel({{137.3, 3.37}, {28.6, 17.9}, {412.9}}),
      LayerModel({{274.6, 1.685}, {14.3, 35.8}, {825.8}}));
}
BENCHMARK(SchlumbergerThreeLayers)->Unit(benchmark::kMicrosecond);

void WennerFourLayers(benchmark::State& state) {
  Fit(state, false, LayerModel({{63.1, 2.13}, {187.4, 6.71}, {24.3, 19.6}, {311.7}}),
      LayerModel({{126.2, 1.065}, {93.7, 13.42}, {48.6, 39.2}, {155.85}}));
}
BENCHMARK(WennerFourLayers)->Unit(benchmark::kMicrosecond);

// The bundled three-layer example, every value unknown, from the model the
// file holds, by each forward model.
void ThreeLayerExample(benchmark::State& state) {
  TResondixData d;
  if (!d.LoadFromFile(RESONDIX_SOURCE_DIR "/examples/three-layer-schlumberger.rxd")) {
    state.SkipWithError("the example cannot be read");
    return;
  }
  d.ForwardModel = state.range(0) != 0 ? TForwardModel::Accurate : TForwardModel::Filter;
  for (int i = 1; i <= d.LayerCount; ++i) {
    d.RhoUnknown[i] = true;
    d.DepthUnknown[i] = i < d.LayerCount;
  }
  const TLayerModel start = d.Layers();
  d.ComputeModelCurve();  // the accurate model designs its filter at first use
  TAllocationProbe probe;
  for (auto _ : state) {
    d.Layers() = start;
    d.Fit();
    benchmark::DoNotOptimize(d.Rmse);
  }
  state.counters["allocations"] = probe.PerIteration(state.iterations());
  state.counters["evaluations"] = d.LastFit.EvaluationCount;
  state.counters["status"] = d.FitStatus;
}
BENCHMARK(ThreeLayerExample)->ArgName("accurate")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
