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
