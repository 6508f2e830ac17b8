// Forward model: the apparent-resistivity curve of the layered earth.
//
// Three stages: the resistivity transform T(u) by the upward recurrence over
// the layers; a linear digital filter over logarithmically spaced transform
// samples (six per decade for Schlumberger, three for Wenner), tabulated as
// log10 apparent resistivity at fixed nodes from 1 m upward; and Akima node
// slopes on that table, so that a cubic Hermite segment interpolates it at
// any spacing. Everything works in the document's fixed arrays. When the
// document's ForwardModel is Accurate, the table and its interpolation are
// those of AccurateForwardModel.cpp instead.
#include <cmath>
#include <limits>

#include "CurveSegment.h"
#include "ResondixData.h"

namespace {

// Coefficients times 10^4; each set sums to exactly 10000.
constexpr double SchlumbergerFilter[20] = {-3.18,  20.72,  -49.78, 112.5, -252.1, 581.2, -1436,
                                           3930,   -11324, 27044,  -34507, 4248,  11817, 6194,
                                           2374,   868.8,  235,    128.4, -11.98, 30.42};
constexpr double WennerFilter[10] = {-67, 179, -253, 416, -935, 3473, -13341, 15662, 4582, 284};

struct TFilterSet {
  const double* Coefficients;
  int Count;
  int SamplesPerDecade;
  double FirstAbscissa;  // u0 in metres
};

const TFilterSet& FilterSet(bool isSchlumberger) {
  static const TFilterSet schlumberger{SchlumbergerFilter, 20, 6, 1 / 245.52};
  static const TFilterSet wenner{WennerFilter, 10, 3, 1 / 341.3};
  return isSchlumberger ? schlumberger : wenner;
}

}  // namespace

void TResondixData::LoadFilter() {
  const TFilterSet& set = FilterSet(IsSchlumberger);
  FilterCoefficients.Fill(0);
  for (int k = 1; k <= set.Count; ++k) FilterCoefficients[k] = set.Coefficients[k - 1];
  FilterCount = set.Count;
  FilterRatio = std::exp(Ln10 / set.SamplesPerDecade);
  CurveLogSpacing[0] = -1.0 / set.SamplesPerDecade;
}

double TResondixData::ResistivityTransform(double u) const {
  const int n = LayerCount;
  double t = LayerRho[n];
  for (int i = n - 1; i >= 1; --i) {
    const double rho = LayerRho[i];
    const double x = LayerThickness[i] / u;
    if (x > 10) {
      t = rho;  // the recurrence saturates
      continue;
    }
    double tanhX = -1;
    if (x >= -10) {
      const double e = std::exp(x);
      tanhX = (e - 1 / e) / (1 / e + e);
    }
    t = (tanhX * rho + t) / (tanhX * t / rho + 1);
  }
  return t;
}

void TResondixData::ComputeModelCurve() {
  const int layers = LayerCount;
  const int n = FilterCount;
  for (int i = 1; i <= layers; ++i) LayerThickness[i] = LayerDepth[i] - LayerDepth[i - 1];
  if (ForwardModel == TForwardModel::Accurate) return ComputeAccurateCurve();

  double u = FilterSet(IsSchlumberger).FirstAbscissa;
  for (int k = 1; k <= n - 1; ++k) {
    TransformSamples[k] = ResistivityTransform(u);
    u *= FilterRatio;
  }

  for (int j = 1; j <= n + 2; ++j) {
    TransformSamples[n] = ResistivityTransform(u);
    u *= FilterRatio;
    double s = 0;
    for (int k = 1; k <= n; ++k) s += FilterCoefficients[k] * TransformSamples[k];
    // A sum of exactly 0 has no logarithm; the smallest positive double
    // keeps the table finite.
    const double magnitude = s != 0 ? std::fabs(s) : std::numeric_limits<double>::denorm_min();
    CurveLogRho[j] = DecimalLog(magnitude) - 4;
    CurveLogSpacing[j] = CurveLogSpacing[j - 1] - CurveLogSpacing[0];
    for (int k = 1; k <= n - 1; ++k) TransformSamples[k] = TransformSamples[k + 1];
  }

  auto& d = CurveSegmentSlope;
  for (int j = 1; j <= n + 1; ++j)
    d[j] = (CurveLogRho[j + 1] - CurveLogRho[j]) / (CurveLogSpacing[j + 1] - CurveLogSpacing[j]);
  d[n + 2] = 2 * d[n + 1] - d[n];
  d[n + 3] = 2 * d[n + 2] - d[n + 1];
  d[0] = 2 * d[1] - d[2];
  d[-1] = 2 * d[0] - d[1];

  for (int j = 1; j <= n + 2; ++j) {
    const double a = std::fabs(d[j + 1] - d[j]);
    const double b = std::fabs(d[j - 1] - d[j - 2]);
    CurveNodeSlope[j] = (a + b == 0) ? (d[j - 1] + d[j]) * 0.5 : (a * d[j - 1] + b * d[j]) / (a + b);
  }
}

double TResondixData::CurveLogRhoAt(double x) const {
  if (ForwardModel == TForwardModel::Accurate) return AccurateLogRhoAt(x);
  const int last = FilterCount + 2;
  const auto& nodes = CurveLogSpacing;
  // Below 1 m and from the last node on, the curve goes on as a straight
  // line in log-log with the end node's slope.
  if (x < nodes[1]) return CurveLogRho[1] + CurveNodeSlope[1] * (x - nodes[1]);
  if (x >= nodes[last]) return CurveLogRho[last] + CurveNodeSlope[last] * (x - nodes[last]);

  // The first node above x; a point on a node belongs to the segment that
  // starts there. The bound only matters for a NaN abscissa.
  int i = 1;
  while (i < last && !(x < nodes[i])) ++i;
  const int j = i - 1;

  const double t = x - nodes[j];
  const double h = nodes[j + 1] - nodes[j];
  const double q = t / h;
  return HermiteSegment(CurveLogRho[j], CurveNodeSlope[j], CurveNodeSlope[j + 1], CurveSegmentSlope[j], t, q);
}
