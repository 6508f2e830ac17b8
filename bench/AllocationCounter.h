// Counts heap allocations in a benchmark program, so that each benchmark can
// report how many its loop made (the engine's loops must make none).
#pragma once

#include <atomic>
#include <cstddef>

extern std::atomic<long long> AllocationCount;

// Allocations counted since the call, per iteration of a benchmark state.
class TAllocationProbe {
public:
  TAllocationProbe() : Start(AllocationCount.load()) {}
  double PerIteration(long long iterations) const {
    return iterations > 0 ? double(AllocationCount.load() - Start) / double(iterations) : 0;
  }

private:
  long long Start;
};
