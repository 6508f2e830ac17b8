#include "chart/ChartScale.h"

#include <algorithm>
#include <limits>

#include "document/ResondixData.h"

namespace {

// Exponents of the vertical range are held within +-DecadeLimit. Every
// positive finite double lies well inside (10^-324 .. 10^309), so only a
// range that no number could give is cut, and the drawing loops stay short.
constexpr double DecadeLimit = 400;

int RoundExponent(double logValue) {
  return static_cast<int>(std::nearbyint(std::clamp(logValue, -DecadeLimit, DecadeLimit)));
}

}  // namespace

TDecadeRange DecadeRangeOf(const TResondixData& d) {
  TDecadeRange range;
  range.ValueMin = d.ApparentRho[1];
  range.ValueMax = d.ApparentRho[1];
  const auto widen = [&range](double value) {
    if (value < range.ValueMin)
      range.ValueMin = value;
    else if (value > range.ValueMax)
      range.ValueMax = value;
  };
  for (int i = 2; i <= d.MeasurementCount; ++i) widen(d.ApparentRho[i]);
  for (int i = 1; i <= d.LayerCount; ++i) widen(d.LayerRho[i]);

  // Written so that a value that is not a number counts as missing too.
  if (!(range.ValueMin > 0)) range.ValueMin = 0.001;
  if (!(range.ValueMax >= 1)) range.ValueMax = 1;
  range.FirstDecade = RoundExponent(DecimalLog(range.ValueMin) - 0.5);
  range.DecadeCount = RoundExponent(DecimalLog(range.ValueMax) - 0.5) + 1 - range.FirstDecade;
  if (range.DecadeCount < 3) range.DecadeCount = 3;
  return range;
}

