// The equivalence analysis as Data > Equivalence runs it: a four-layer
// Schlumberger sounding of 15 measurements with 2 % noise, fitted with all
// seven values unknown, then every unknown profiled in both directions.
// Reports the refits, the equivalent models found and the allocations per
// analysis (nothing is allocated).
#include <cmath>
#include <memory>

#include <benchmark/benchmark.h>

#include "bench/AllocationCounter.h"
#include "document/ResondixData.h"
#include "engine/Equivalence.h"

namespace {

TResondixData FittedSounding() {
  TResondixData d;
  d.Layers() = LayerModel({{63.1, 2.13}, {187.4, 6.71}, {24.3, 19.6}, {311.7}});
  for (int i = 1; i <= 4; ++i) {
    d.RhoUnknown[i] = true;
    d.DepthUnknown[i] = i < 4;
  }
  d.ComputeModelCurve();
  for (int i = 1; i <= d.MeasurementCount; ++i)
    d.ApparentRho[i] = std::exp(d.Curve.LnApparentRho(d.HalfSpacing[i]) + 0.02 * std::sin(2.7 * i));
  d.Fit();
  return d;
}

void FourLayersSevenUnknowns(benchmark::State& state) {
  const TResondixData d = FittedSounding();
  const auto result = std::make_unique<TEquivalence>();
  TAllocationProbe probe;
  for (auto _ : state) {
    d.AnalyseEquivalence({}, *result);
    benchmark::DoNotOptimize(result->ModelCount);
  }
  state.counters["allocations"] = probe.PerIteration(state.iterations());
  state.counters["refits"] = result->RefitCount;
  state.counters["models"] = result->ModelCount;
  state.counters["fit_status"] = d.FitStatus;
}
BENCHMARK(FourLayersSevenUnknowns)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
