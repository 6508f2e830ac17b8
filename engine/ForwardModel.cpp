// The filter model: the program's own short filters over the resistivity
// transform, tabulated as log10 apparent resistivity at nodes from 1 m
// upward, with Akima node slopes for the Hermite interpolation between them
// (see ForwardModel.h). Also the transform and the choice between the two
// forward models.
#include "engine/ForwardModel.h"

#include <cmath>
#include <limits>

#include "engine/CurveSegment.h"

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
  double Ratio;          // of one sample's abscissa to the next, 10^(1/SamplesPerDecade)
};

const TFilterSet& FilterSet(bool isSchlumberger) {
  static const TFilterSet schlumberger{SchlumbergerFilter, 20, 6, 1 / 245.52, std::exp(Ln10 / 6)};
  static const TFilterSet wenner{WennerFilter, 10, 3, 1 / 341.3, std::exp(Ln10 / 3)};
  return isSchlumberger ? schlumberger : wenner;
}

}  // namespace

TResistivityTransform::TResistivityTransform(const TLayerModel& model) : LayerCount(model.LayerCount) {
  for (int i = 1; i <= LayerCount; ++i) {
    Rho[i] = model.LayerRho[i];
    Thickness[i] = model.Thickness(i);
  }
}

double TResistivityTransform::operator()(double u) const {
  const int n = LayerCount;
  double t = Rho[n];
  for (int i = n - 1; i >= 1; --i) {
    const double rho = Rho[i];
    const double x = Thickness[i] / u;
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

void TFilterCurve::Compute(const TLayerModel& model, bool isSchlumberger) {
  const TFilterSet& set = FilterSet(isSchlumberger);
  const TResistivityTransform transform(model);
  const int n = FilterCount = set.Count;
  CurveLogSpacing[0] = -1.0 / set.SamplesPerDecade;

  double u = set.FirstAbscissa;
  for (int k = 1; k <= n - 1; ++k) {
    TransformSamples[k] = transform(u);
    u *= set.Ratio;
  }

  for (int j = 1; j <= n + 2; ++j) {
    TransformSamples[n] = transform(u);
    u *= set.Ratio;
    double s = 0;
    for (int k = 1; k <= n; ++k) s += set.Coefficients[k - 1] * TransformSamples[k];
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

double TFilterCurve::LogRhoAt(double x) const {
  const int last = NodeCount();
  const auto& nodes = CurveLogSpacing;
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

void TModelCurve::Compute(const TLayerModel& model, const TCurveSettings& settings) {
  InUse = settings.Model;
  if (InUse == TForwardModel::Accurate) Accurate.Compute(model, settings.IsSchlumberger);
  else Filter.Compute(model, settings.IsSchlumberger);
}

double TModelCurve::NodeLogSpacing(int j) const {
  return InUse == TForwardModel::Accurate ? double(j) / AccurateNodesPerDecade : Filter.CurveLogSpacing[j];
}

double TModelCurve::NodeLogRho(int j) const {
  return InUse == TForwardModel::Accurate ? Accurate.AccurateLogRho[j] : Filter.CurveLogRho[j];
}
