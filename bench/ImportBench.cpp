// The DINOloket import: a whole example file, and files with one line of
// growing length, whose time must grow linearly with it (no quadratic
// slow-down on lines of megabytes). Reports allocations per iteration.
#include <string>

#include <benchmark/benchmark.h>

#include "bench/AllocationCounter.h"
#include "document/Messages.h"
#include "document/ResondixData.h"

namespace {

// A small sounding; longLine goes after the fifth field of its first
// measurement, where the import reads it whole and then ignores it.
std::string Sounding(const std::string& longLine) {
  std::string text;
  for (int n = 1; n <= 25; ++n) text += n == 13 ? "SCHLUMB;\r\n" : n == 14 ? "30;\r\n" : "Line;\r\n";
  text += "1.5;0.5;12.5;40;100;" + longLine + "\r\n";
  text += "6;0.5;12.5;40;81.4;\r\n30;0.5;12.5;40;50;\r\n";
  text += "Kop VES interpretatie;\r\n";
  for (int n = 1; n <= 15; ++n) text += ";\r\n";
  text += "1;2.75;160;;;;\r\n2;;420;;;;\r\n";
  return text;
}

void ImportSounding(benchmark::State& state) {
  const std::string text = Sounding("");
  TResondixData d;
  TAllocationProbe probe;
  for (auto _ : state) benchmark::DoNotOptimize(d.ImportFromText(text));
  state.counters["allocations"] = probe.PerIteration(state.iterations());
}
BENCHMARK(ImportSounding);

void ImportLongLine(benchmark::State& state) {
  const std::string text = Sounding(std::string(static_cast<std::size_t>(state.range(0)), 'x'));
  TResondixData d;
  for (auto _ : state) benchmark::DoNotOptimize(d.ImportFromText(text));
  state.SetComplexityN(state.range(0));
  state.SetBytesProcessed(static_cast<long long>(state.iterations()) * static_cast<long long>(text.size()));
}
BENCHMARK(ImportLongLine)->RangeMultiplier(4)->Range(1 << 16, 1 << 24)->Complexity(benchmark::oN);

}  // namespace

BENCHMARK_MAIN();
