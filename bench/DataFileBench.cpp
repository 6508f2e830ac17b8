// The data file's annotation section: reading an annotation line and writing
// an annotation text of growing length, whose time must grow linearly with
// it (a line of megabytes once took minutes), and reading a file beyond the
// bounds of the section, 1000 annotations of 64 KB.
#include <string>

#include <benchmark/benchmark.h>

#include "document/Messages.h"
#include "document/ResondixData.h"

namespace {

// A saved new document whose annotation section holds count copies of line.
std::string FileWithAnnotations(int count, const std::string& line) {
  TResondixData d;
  std::string text = d.DataFileText();
  text.resize(text.size() - 3);  // the count "0" and its line end
  text += std::to_string(count) + "\r\n";
  for (int i = 0; i < count; ++i) text += line + "\r\n";
  return text;
}

// An annotation line of about length bytes, with a line break every few
// characters: the case that was quadratic.
std::string AnnotationLine(std::size_t length) {
  std::string line = "TE,120,45,100,40,\"";
  while (line.size() < length) line += "ab&crnl;";
  return line + "\"";
}

void SilenceMessages() {
  SetMessageHandler([](TMessageKind, const std::string&) {});
}

void ReadAnnotationLine(benchmark::State& state) {
  SilenceMessages();  // beyond 64 KB of text a line is cut, with a warning
  const std::string text = FileWithAnnotations(1, AnnotationLine(static_cast<std::size_t>(state.range(0))));
  TResondixData d;
  for (auto _ : state) benchmark::DoNotOptimize(d.LoadFromText(text));
  state.SetComplexityN(state.range(0));
  state.SetBytesProcessed(static_cast<long long>(state.iterations()) * static_cast<long long>(text.size()));
}
BENCHMARK(ReadAnnotationLine)->RangeMultiplier(4)->Range(1 << 16, 1 << 22)->Complexity(benchmark::oN);

void WriteAnnotationText(benchmark::State& state) {
  TResondixData d;
  std::string text;
  while (text.size() < static_cast<std::size_t>(state.range(0))) text += "a\n";
  d.Annotations.push_back({120, 45, 100, 40, text});
  for (auto _ : state) benchmark::DoNotOptimize(d.DataFileText());
  state.SetComplexityN(state.range(0));
}
BENCHMARK(WriteAnnotationText)->RangeMultiplier(4)->Range(1 << 16, 1 << 22)->Complexity(benchmark::oN);

void ReadAnnotationsBeyondTheBounds(benchmark::State& state) {
  SilenceMessages();
  const std::string text = FileWithAnnotations(1000, "TE,1,2,3,4," + std::string(65536, 'x'));
  TResondixData d;
  for (auto _ : state) benchmark::DoNotOptimize(d.LoadFromText(text));
  state.SetBytesProcessed(static_cast<long long>(state.iterations()) * static_cast<long long>(text.size()));
}
BENCHMARK(ReadAnnotationsBeyondTheBounds)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
