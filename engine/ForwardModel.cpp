// The filter model: the program's own short filters over the resistivity
// transform, tabulated as log10 apparent resistivity at nodes from 1 m
// upward, with Akima node slopes for the Hermite interpolation between them
// (see ForwardModel.h). Also the transform and the choice between the two
// forward models.
#include "engine/ForwardModel.h"

#include <array>
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
  // The transform's abscissae u (metres) of the table's 2·Count + 1 samples:
  // u0, then each one 10^(1/SamplesPerDecade) times the one before.
  std::array<double, 2 * MaxFilterCount + 1> Abscissae;
};

TFilterSet MakeFilterSet(const double* coefficients, int count, int samplesPerDecade, double firstAbscissa) {
  TFilterSet set{coefficients, count, samplesPerDecade, {}};
  const double ratio = std::exp(Ln10 / samplesPerDecade);
  double u = firstAbscissa;
  for (int k = 0; k < 2 * count + 1; ++k) {
    set.Abscissae[k] = u;
    u *= ratio;
  }
  return set;
}

const TFilterSet& FilterSet(bool isSchlumberger) {
  static const TFilterSet schlumberger = MakeFilterSet(SchlumbergerFilter, 20, 6, 1 / 245.52);
  static const TFilterSet wenner = MakeFilterSet(WennerFilter, 10, 3, 1 / 341.3);
  return isSchlumberger ? schlumberger : wenner;
}

}  // namespace

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

// T_i = (t·ρ_i + T_{i+1}) / (t·T_{i+1}/ρ_i + 1) = A/B gives
// ∂T_i/∂T_{i+1} = (1 − T_i·t/ρ_i)/B and ∂T_i/∂ρ_i = t·(1 + T_i·T_{i+1}/ρ_i²)/B;
// a saturated layer passes nothing from below and its own ρ whole. The
// derivative by ln ρ_i is the product of the first kind down to layer i
// times the second kind of layer i, times ρ_i.
double TResistivityTransform::WithSlopes(double u, TLayerSlopes& slopes) const {
  const int n = LayerCount;
  TLayerSlopes fromBelow, own;  // ∂T_i/∂T_{i+1} and ∂T_i/∂ρ_i
  double t = Rho[n];
  for (int i = n - 1; i >= 1; --i) {
    const double rho = Rho[i];
    const double x = Thickness[i] / u;
    if (x > 10) {
      t = rho;
      fromBelow[i] = 0;
      own[i] = 1;
      continue;
    }
    double tanhX = -1;
    if (x >= -10) {
      const double e = std::exp(x);
      tanhX = (e - 1 / e) / (1 / e + e);
    }
    const double below = t;
    const double b = tanhX * below / rho + 1;
    t = (tanhX * rho + below) / b;
    fromBelow[i] = (1 - t * tanhX / rho) / b;
    own[i] = tanhX * (1 + t * below / (rho * rho)) / b;
  }
  double chain = 1;
  for (int i = 1; i < n; ++i) {
    slopes[i] = chain * own[i] * Rho[i];
    chain *= fromBelow[i];
  }
  slopes[n] = chain * Rho[n];
  return t;
}

void TFilterCurve::Prepare(bool isSchlumberger) {
  IsSchlumberger = isSchlumberger;
  FilterCount = FilterSet(isSchlumberger).Count;
}

double TFilterCurve::SampleAbscissa(int k) const { return FilterSet(IsSchlumberger).Abscissae[k - 1]; }

void TFilterCurve::Compute(const TResistivityTransform& transform, bool isSchlumberger) {
  Prepare(isSchlumberger);
  for (int k = 1; k <= SampleCount(); ++k) TransformSamples[k] = transform(SampleAbscissa(k));
  ComputeFromSamples();
}

void TFilterCurve::ComputeFromSamples() {
  const TFilterSet& set = FilterSet(IsSchlumberger);
  const int n = FilterCount;
  CurveLogSpacing[0] = -1.0 / set.SamplesPerDecade;
  for (int j = 1; j <= n + 2; ++j) {
    double s = 0;
    for (int k = 1; k <= n; ++k) s += set.Coefficients[k - 1] * TransformSamples[j + k - 1];
    // A sum of exactly 0 has no logarithm; the smallest positive double
    // keeps the table finite.
    const double magnitude = s != 0 ? std::fabs(s) : std::numeric_limits<double>::denorm_min();
    CurveLogRho[j] = DecimalLog(magnitude) - 4;
    CurveLogSpacing[j] = CurveLogSpacing[j - 1] - CurveLogSpacing[0];
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

void TModelCurve::Compute(const TResistivityTransform& transform, const TCurveSettings& settings) {
  InUse = settings.Model;
  if (InUse == TForwardModel::Accurate) Accurate.Compute(transform, settings.IsSchlumberger);
  else Filter.Compute(transform, settings.IsSchlumberger);
}

void TModelCurve::Prepare(const TCurveSettings& settings) {
  InUse = settings.Model;
  if (InUse == TForwardModel::Accurate) Accurate.IsSchlumberger = settings.IsSchlumberger;
  else Filter.Prepare(settings.IsSchlumberger);
}

double TModelCurve::SampleAbscissa(int k) const {
  return InUse == TForwardModel::Accurate ? TAccurateCurve::SampleAbscissa(AccurateFirstSample + k)
                                          : Filter.SampleAbscissa(k + 1);
}

double& TModelCurve::Sample(int k) {
  return InUse == TForwardModel::Accurate ? Accurate.AccurateTransformSamples[AccurateFirstSample + k]
                                          : Filter.TransformSamples[k + 1];
}

void TModelCurve::ComputeFromSamples() {
  if (InUse == TForwardModel::Accurate) Accurate.ComputeFromSamples();
  else Filter.ComputeFromSamples();
}

double TModelCurve::NodeLogSpacing(int j) const {
  return InUse == TForwardModel::Accurate ? double(j) / AccurateNodesPerDecade : Filter.CurveLogSpacing[j];
}

double TModelCurve::NodeLogRho(int j) const {
  return InUse == TForwardModel::Accurate ? Accurate.AccurateLogRho[j] : Filter.CurveLogRho[j];
}
