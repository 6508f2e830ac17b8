// The statistics texts of the fit's unknowns, as the statistics views show
// them: the uncertainty as a whole percentage and the one-standard-error
// interval in whole numbers (see engine/FitStatistics.h for the figures),
// and the cells of the correlation matrix. Roundings are to the nearest
// integer with ties to even. Also the fit's warnings in words, for the
// window and the command line alike.
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "document/ResondixData.h"

namespace {

constexpr const char* VeryLargeText = "very large";

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
  if (lower > UnboundedThreshold || !(upper < TooManyDigits) || !(lower > -TooManyDigits)) {
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

// "A", "A and B", "A, B and C".
std::string Enumeration(const TFitDiagnostics& d) {
  std::string text;
  for (int k = 1; k <= d.UnresolvedCount; ++k) {
    if (k > 1) text += k == d.UnresolvedCount ? " and " : ", ";
    text += UnknownName(d.Unresolved[k]).view();
  }
  return text;
}

// What to do about a warning: for a fit of the user's model, the automatic
// model; for the automatic model itself, a look at the measurements, or at
// the values that fit as well.
struct TAdvice {
  const char* PoorFit;
  const char* Unresolved;
};

TAdvice AdviceOf(bool automatic, TAdviceFor reader) {
  if (reader == TAdviceFor::Report) return {"", ""};
  const bool window = reader == TAdviceFor::Window;
  if (!automatic)
    return window ? TAdvice{"Try Data > Automatic model.", "Try Data > Automatic model."}
                  : TAdvice{"Try fit --auto.", "Try fit --auto."};
  return window ? TAdvice{"Check the measurements, or see Data > Smooth model for what they say.",
                          "Data > Equivalence shows the values that fit as well; or try fewer layers."}
                : TAdvice{"Check the measurements, or see the smooth command for what they say.",
                          "The equivalence command shows the values that fit as well; or try fewer layers."};
}

std::string WithAdvice(std::string warning, const char* advice) {
  if (*advice) warning += std::string(" ") + advice;
  return warning;
}

}  // namespace

void TResondixData::ClearLayerStatistics() {
  for (int i = 0; i <= MaxLayers; ++i) {
    RhoPercentText[i] = NoStatisticText;
    DepthPercentText[i] = NoStatisticText;
    RhoIntervalText[i] = NoStatisticText;
    DepthIntervalText[i] = NoStatisticText;
  }
}

void TResondixData::ComputeFitStatistics() {
  const int n = LastFit.UnknownCount;
  if (MeasurementCount == n) {
    ClearLayerStatistics();  // no degrees of freedom left
    return;
  }
  Uncertainties = ComputeUncertainties(LastFit, MeasurementCount);
  for (int k = 1; k <= n; ++k) {
    const TUnknown& unknown = LastFit.Unknowns[k];
    const int i = unknown.Layer;
    const double lower = Uncertainties.Lower[k], upper = Uncertainties.Upper[k];
    if (!unknown.IsDepth) {
      WritePercent(RhoPercentText[i], Uncertainties.Percent[k]);
      WriteInterval(RhoIntervalText[i], lower, upper, LayerRho[i]);
      continue;
    }
    WritePercent(DepthPercentText[i], Uncertainties.Percent[k]);
    // The unknown is the thickness; the interval is that of the bottom depth.
    const double top = LayerDepth[i - 1];
    WriteInterval(DepthIntervalText[i], lower + top, upper + top, LayerDepth[i]);
  }
}

std::string TResondixData::CorrelationText(int k, int j) const {
  if (k < j) return "";
  const auto& covariance = LastFit.Covariance;
  const double variances = covariance[j][j] * covariance[k][k];
  if (!(variances > 0) || !std::isfinite(variances)) return "";
  const double r = 100 * covariance[j][k] / std::sqrt(variances);
  if (!std::isfinite(r)) return "";
  char buffer[32];
  // + 0.0 turns a rounded -0 into 0.
  std::snprintf(buffer, sizeof buffer, "%.0f%%", std::nearbyint(r) + 0.0);
  return buffer;
}

std::vector<std::string> TResondixData::FitWarnings(TAdviceFor reader) const {
  std::vector<std::string> texts;
  if (!HasFitResult) return texts;
  const TFitDiagnostics& d = FitDiagnostics;
  const TAdvice advice = AdviceOf(LastFitAutomatic, reader);
  if (d.Poor) {
    char percent[32];
    std::snprintf(percent, sizeof percent, "%.0f", d.AverageMisfitPercent);
    texts.push_back(WithAdvice(std::string("The fit is poor: the model misses the measurements by ") + percent +
                               " % on average.", advice.PoorFit));
  }
  if (d.UnresolvedCount > 0)
    texts.push_back(WithAdvice("The measurements do not fix " + Enumeration(d) + " (uncertainty 100 %).",
                               advice.Unresolved));
  return texts;
}
