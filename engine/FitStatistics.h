// Fit statistics: the uncertainty of every unknown after a converged fit.
//
// The standard error of an unknown (a natural logarithm) is
// σ_k = √Covariance[k][k] · s with the residual scale s = √(SS / (M − n));
// the one-standard-error interval is exp(p ± σ), and the uncertainty the
// rounded percentage 100·(1 − e^(−σ)) (plus one half, ties to even).
#pragma once

#include "engine/Optimisation.h"

// Lower holds this marker where σ > 3, which has no useful bounds; anything
// above a tenth of it reads as the marker.
constexpr double UnboundedMarker = 1.7e308;
constexpr double UnboundedThreshold = 1.7e307;

struct TUncertainties {
  TUnknownVector Percent;
  TUnknownVector Lower;
  TUnknownVector Upper;

  // Whether unknown k has its bounds (σ at most 3).
  bool Bounded(int k) const { return Lower[k] <= UnboundedThreshold; }
};

// The uncertainties of the unknowns of fit, with measurementCount
// measurements; needs a degree of freedom (more measurements than unknowns).
TUncertainties ComputeUncertainties(const TFitResult& fit, int measurementCount);
