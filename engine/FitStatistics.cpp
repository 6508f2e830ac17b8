// Fit statistics (see FitStatistics.h).
#include "engine/FitStatistics.h"

#include <cmath>

namespace {

constexpr double MaxSigmaForBounds = 3;
// Below this logarithm exp(lo) is 0 to the percentage.
constexpr double MinPercentExponent = -88;

}  // namespace

TUncertainties ComputeUncertainties(const TFitResult& fit, int measurementCount) {
  TUncertainties u;
  const int n = fit.UnknownCount;
  const double scale = std::sqrt(fit.ResidualNorm * fit.ResidualNorm / (measurementCount - n));
  for (int k = 1; k <= n; ++k) {
    const double p = fit.Parameters[k];
    const double v = std::exp(p);
    const double sigma = std::sqrt(fit.Covariance[k][k]) * scale;
    const double lo = p - sigma;
    u.Percent[k] = lo < MinPercentExponent ? 100 : std::nearbyint(100.5 - 100 * std::exp(lo) / v);
    if (sigma <= MaxSigmaForBounds) {
      u.Lower[k] = std::exp(p - sigma);
      u.Upper[k] = std::exp(p + sigma);
    } else {
      u.Lower[k] = UnboundedMarker;
    }
  }
  return u;
}

TFitDiagnostics DiagnoseFit(const TSounding& sounding, const TLayerModel& model, const TCurveSettings& curve,
                            const TFitResult& fit, const TUncertainties* uncertainties) {
  TFitDiagnostics d;
  TModelCurve table;
  table.Compute(model, curve);
  const int m = d.MeasurementCount = sounding.MeasurementCount;
  double sumOfSquares = 0;  // of the residuals in log10 units
  for (int i = 1; i <= m; ++i) {
    const double residual = table.LnApparentRho(sounding.HalfSpacing[i]) - std::log(sounding.ApparentRho[i]);
    d.MisfitPercent[i] = 100 * std::expm1(residual);
    sumOfSquares += (residual / Ln10) * (residual / Ln10);
  }
  const double rmse = std::sqrt(sumOfSquares / m);
  d.AverageMisfitPercent = 100 * (std::exp(Ln10 * rmse) - 1);
  d.Poor = !(d.AverageMisfitPercent <= PoorFitMisfitPercent);
  if (uncertainties) MarkUnresolved(d, fit, *uncertainties);
  return d;
}

void MarkUnresolved(TFitDiagnostics& diagnostics, const TFitResult& fit, const TUncertainties& uncertainties) {
  for (int k = 1; k <= fit.UnknownCount; ++k)
    if (uncertainties.Percent[k] >= UnresolvedPercent)
      diagnostics.Unresolved[++diagnostics.UnresolvedCount] = fit.Unknowns[k];
}
