// The measurements of a vertical electrical sounding: the half spacing L/2
// of the current electrodes and the apparent resistivity measured there,
// indexed from 1.
#pragma once

#include <cstdint>

#include "engine/FixedArray.h"

constexpr int MaxMeasurements = 15;

struct TSounding {
  std::int32_t MeasurementCount = 0;
  TFixedArray<double, 0, MaxMeasurements> HalfSpacing;  // L/2 (m); [0] unused
  TFixedArray<double, 0, MaxMeasurements> ApparentRho;  // ohm·m

  friend bool operator==(const TSounding& a, const TSounding& b) {
    return a.MeasurementCount == b.MeasurementCount && a.HalfSpacing == b.HalfSpacing && a.ApparentRho == b.ApparentRho;
  }
  friend bool operator!=(const TSounding& a, const TSounding& b) { return !(a == b); }
};

// A fit has at most this many unknowns, and at most one per measurement.
constexpr int MaxUnknowns = 20;
