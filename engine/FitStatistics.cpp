// Fit statistics: the uncertainty of every unknown after a converged fit,
// as the texts the statistics views show, and the correlation matrix cells.
//
// The standard error of an unknown (a natural logarithm) is
// σ_k = √Covariance[k][k] · s with the residual scale s = √(SS / (M − n)); the
// one-standard-error interval exp(p ± σ) is shown as whole numbers and the
// uncertainty as the rounded percentage 100·(1 − e^(−σ)) (plus one half).
// Roundings are to the nearest integer with ties to even.
#include <cmath>
#include <cstdio>
#include <string>

#include "ResondixData.h"

namespace {

constexpr const char* VeryLargeText = "very large";

// ParameterLower holds this marker when σ > 3; anything above a tenth of it
// reads as the marker.
constexpr double TooLargeMarker = 1.7e308;
constexpr double TooLargeThreshold = 1.7e307;
constexpr double MaxSigmaForBounds = 3;
// Below this logarithm exp(lo) is 0 to the percentage.
constexpr double MinPercentExponent = -88;
// A bound from here on has more digits than an interval text can hold.
constexpr double TooManyDigits = 1e17;

// The whole-number percentage right-aligned in three places, then "%".
void WritePercent(TPercentText& text, double percent) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%3.0f%%", percent);
  text = buffer;
}

// "lo - hi" in whole numbers, rounded to 64-bit integers. A pair that rounds
// to one number is widened by 1 on the side that then encloses the fitted
// value. An interval whose text would not fit its field is "very large"
// rather than a cut number.
void WriteInterval(TIntervalText& text, double lower, double upper, double fitted) {
  if (lower > TooLargeThreshold || !(upper < TooManyDigits) || !(lower > -TooManyDigits)) {
    text = VeryLargeText;
    return;
  }
  long long lo = static_cast<long long>(std::nearbyint(lower));
  long long hi = static_cast<long long>(std::nearbyint(upper));
  if (lo == hi) {
    if (lo > fitted) --lo;
    else if (hi < fitted) ++hi;
  }
  char buffer[64];
  const int length = std::snprintf(buffer, sizeof buffer, "%lld - %lld", lo, hi);
  if (length < 0 || static_cast<std::size_t>(length) > TIntervalText::capacity()) text = VeryLargeText;
  else text = buffer;
}

void ClearLayerStatistics(TResondixData& d) {
  for (int i = 0; i <= MaxLayers; ++i) {
    d.RhoPercentText[i] = NoStatisticText;
    d.DepthPercentText[i] = NoStatisticText;
    d.RhoIntervalText[i] = NoStatisticText;
    d.DepthIntervalText[i] = NoStatisticText;
  }
}

// Percentage and bounds of every unknown from its standard error.
void ComputeUncertainties(TResondixData& d) {
  const int n = d.UnknownCount;
  const double scale = std::sqrt(d.ResidualNorm * d.ResidualNorm / (d.MeasurementCount - n));
  for (int k = 1; k <= n; ++k) {
    const double p = d.Parameters[k];
    const double v = std::exp(p);
    const double sigma = std::sqrt(d.Covariance()[k][k]) * scale;
    const double lo = p - sigma;
    d.ParameterPercent[k] = lo < MinPercentExponent ? 100 : std::nearbyint(100.5 - 100 * std::exp(lo) / v);
    if (sigma <= MaxSigmaForBounds) {
      d.ParameterLower[k] = std::exp(p - sigma);
      d.ParameterUpper[k] = std::exp(p + sigma);
    } else {
      d.ParameterLower[k] = TooLargeMarker;
    }
  }
}

}  // namespace

void TResondixData::ComputeFitStatistics() {
  const int n = UnknownCount;
  if (MeasurementCount == n) {
    ClearLayerStatistics(*this);  // no degrees of freedom left
    return;
  }
  ComputeUncertainties(*this);

  int k = 0;
  for (int i = 1; i <= LayerCount; ++i) {
    if (!RhoUnknown[i]) continue;
    ++k;
    WritePercent(RhoPercentText[i], ParameterPercent[k]);
    WriteInterval(RhoIntervalText[i], ParameterLower[k], ParameterUpper[k], LayerRho[i]);
  }
  for (int i = 1; i <= LayerCount - 1; ++i) {
    if (!DepthUnknown[i]) continue;
    ++k;
    WritePercent(DepthPercentText[i], ParameterPercent[k]);
    // The unknown is the thickness; the interval is that of the bottom depth.
    const double top = LayerDepth[i - 1];
    WriteInterval(DepthIntervalText[i], ParameterLower[k] + top, ParameterUpper[k] + top, LayerDepth[i]);
  }
}

std::string TResondixData::CorrelationText(int k, int j) const {
  if (k < j) return "";
  const auto& covariance = Covariance();
  const double variances = covariance[j][j] * covariance[k][k];
  if (!(variances > 0) || !std::isfinite(variances)) return "";
  const double r = 100 * covariance[j][k] / std::sqrt(variances);
  if (!std::isfinite(r)) return "";
  char buffer[32];
  // + 0.0 turns a rounded -0 into 0.
  std::snprintf(buffer, sizeof buffer, "%.0f%%", std::nearbyint(r) + 0.0);
  return buffer;
}
