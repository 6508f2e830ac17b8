// What the engine's tests share: soundings computed from a known model with
// the program's own curve, so that the truth fits them to rounding.
#pragma once

#include <cmath>

#include "engine/ForwardModel.h"
#include "engine/LayerModel.h"
#include "engine/Sounding.h"

// The program's default spacings, 1.5 m to 40 m.
constexpr double DefaultSpacings[MaxMeasurements] = {1.5, 2, 2.5, 3, 4, 5, 6, 8, 10, 12, 15, 20, 25, 30, 40};

// Fifteen measurements of truth at the spacings given, each times
// e^(noise·sin(2.7 i)): a noise pattern that is fixed and not aligned with
// any model.
inline TSounding Measured(const TLayerModel& truth, const TCurveSettings& curve, double noise = 0,
                          const double (&spacings)[MaxMeasurements] = DefaultSpacings) {
  TModelCurve table;
  table.Compute(truth, curve);
  TSounding s;
  s.MeasurementCount = MaxMeasurements;
  for (int i = 1; i <= MaxMeasurements; ++i) {
    s.HalfSpacing[i] = spacings[i - 1];
    s.ApparentRho[i] = std::exp(table.LnApparentRho(s.HalfSpacing[i]) + noise * std::sin(2.7 * i));
  }
  return s;
}

// The RMSE in log10 units of model against the sounding, computed here from
// the curve (not by the fit).
inline double RmseOf(const TSounding& s, const TLayerModel& model, const TCurveSettings& curve) {
  TModelCurve table;
  table.Compute(model, curve);
  double sum = 0;
  for (int i = 1; i <= s.MeasurementCount; ++i) {
    const double r = (table.LnApparentRho(s.HalfSpacing[i]) - std::log(s.ApparentRho[i])) / 2.3026;
    sum += r * r;
  }
  return std::sqrt(sum / s.MeasurementCount);
}
