// Interpretation without a starting model: the smooth model of a 15-point
// Schlumberger sounding (a four-layer earth with 2 % noise) as Data > Smooth
// model makes it, and the automatic four-layer model with its fit as Data >
// Automatic model makes it (the document's FitAutomaticModel: smooth model,
// six fits, statistics and diagnostics); also with the accurate forward model
// and with the layer count chosen. Reports the allocations per run (none)
// and what the runs did.
#include <cmath>

#include <benchmark/benchmark.h>

#include "bench/AllocationCounter.h"
#include "document/ResondixData.h"
#include "engine/AutomaticModel.h"
#include "engine/SmoothInversion.h"

namespace {

TResondixData Sounding(TForwardModel forward) {
  TResondixData d;
  d.ForwardModel = forward;
  d.Layers() = LayerModel({{63.1, 2.13}, {187.4, 6.71}, {24.3, 19.6}, {311.7}});
  d.ComputeModelCurve();
  for (int i = 1; i <= d.MeasurementCount; ++i)
    d.ApparentRho[i] = std::exp(d.Curve.LnApparentRho(d.HalfSpacing[i]) + 0.02 * std::sin(2.7 * i));
  return d;
}

TForwardModel ForwardOf(const benchmark::State& state) {
  return state.range(0) != 0 ? TForwardModel::Accurate : TForwardModel::Filter;
}

void SmoothModel(benchmark::State& state) {
  const TResondixData d = Sounding(ForwardOf(state));
  TSmoothInversion inversion;
  inversion.Run(d.Sounding(), d.CurveSettings());  // the accurate model designs its filter at first use
  TAllocationProbe probe;
  for (auto _ : state) benchmark::DoNotOptimize(inversion.Run(d.Sounding(), d.CurveSettings()).Rmse);
  state.counters["allocations"] = probe.PerIteration(state.iterations());
  state.counters["iterations"] = inversion.Result().IterationCount;
  state.counters["curves"] = inversion.Result().EvaluationCount;
  state.counters["doi_m"] = inversion.Result().DepthOfInvestigation;
}
BENCHMARK(SmoothModel)->ArgName("accurate")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// range(1): the layers asked for, 0 for the count chosen.
void AutomaticModel(benchmark::State& state) {
  TResondixData d = Sounding(ForwardOf(state));
  const int layers = static_cast<int>(state.range(1));
  d.FitAutomaticModel(layers, DefaultErrorPercent);
  TAllocationProbe probe;
  for (auto _ : state) benchmark::DoNotOptimize(d.FitAutomaticModel(layers, DefaultErrorPercent).Status);
  state.counters["allocations"] = probe.PerIteration(state.iterations());
  state.counters["layers"] = d.LayerCount;
  state.counters["status"] = d.FitStatus;
  state.counters["rmse"] = d.Rmse;
}
BENCHMARK(AutomaticModel)->ArgNames({"accurate", "layers"})->Args({0, 4})->Args({0, 0})->Args({1, 4})
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
