// Fit statistics: the uncertainty of every unknown after a converged fit,
// and what any fit says about itself.
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

// A fit misses the measurements by more than this on average (its RMSE is
// above log10 of 1 plus this part): poor.
constexpr double PoorFitMisfitPercent = 10;
// An unknown with this uncertainty or more is not fixed by the measurements.
constexpr double UnresolvedPercent = 100;

// What the user should know of a fit beyond its figures: how far the model
// misses each measurement, whether it misses them all too far, and which
// unknowns the measurements do not fix.
struct TFitDiagnostics {
  int MeasurementCount = 0;
  // 100·(model / measured − 1) at each measurement, in measurement order.
  TFixedArray<double, 1, MaxMeasurements> MisfitPercent;
  // The RMSE of the model (log10 units) as an average misfit in per cent,
  // 100·(10^RMSE − 1), and whether it is above PoorFitMisfitPercent.
  double AverageMisfitPercent = 0;
  bool Poor = false;
  int UnresolvedCount = 0;
  TFixedArray<TUnknown, 1, MaxUnknowns> Unresolved;

  bool HasWarning() const { return Poor || UnresolvedCount > 0; }
};

// The diagnostics of model, as a fit left it with its unknowns, against the
// sounding by the curve settings given; the unresolved unknowns from
// uncertainties, where the fit has them (null otherwise).
TFitDiagnostics DiagnoseFit(const TSounding& sounding, const TLayerModel& model, const TCurveSettings& curve,
                            const TFitResult& fit, const TUncertainties* uncertainties);

// The unknowns of fit whose uncertainty says the measurements do not fix
// them, into diagnostics (which had none).
void MarkUnresolved(TFitDiagnostics& diagnostics, const TFitResult& fit, const TUncertainties& uncertainties);
