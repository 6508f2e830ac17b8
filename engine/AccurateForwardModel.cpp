// Accurate forward model: the apparent-resistivity curve of the layered
// earth to a few parts in 10^5, for both configurations at any spacing.
//
// The physics: with the resistivity transform T(λ) of the layers (the same
// upward recurrence as the filter model, ResistivityTransform(1/λ)),
//   Schlumberger  ρa(s) = s² ∫ T(λ) J1(λs) λ dλ,
//   Wenner        ρa(a) = 2a ∫ T(λ) [J0(λa) − J0(2λa)] dλ.
// With σ = ln s and y = ln λ both are a correlation ρa(σ) = ∫ T(e^y) g(e^(y+σ)) dy,
// g(x) = x² J1(x) or 2x [J0(x) − J0(2x)], which a linear digital filter
// evaluates from samples of T spaced Δ in ln λ (Ghosh 1971, Geophysical
// Prospecting 19, 192–217):  ρa(e^(mΔ)) = Σ_k w_k T(e^((k−m)Δ)).
//
// The weights are not a typed table: they follow from a closed form, and the
// program computes them once, as Johansen & Sørensen (1979, Fast Hankel
// transforms, Geophysical Prospecting 27, 876–901) design theirs. The Fourier
// transform of g over ln x is a ratio of gamma functions,
//   G(ω) = ∫ g(x) x^(−iω−1) dx = 2^(−iω) (1 − iω) e^(−2iφ)         (Schlumberger)
//                               = 2^(−iω) (2 − 2^(iω)) e^(−2iφ)    (Wenner),
// φ = arg Γ((1 + iω)/2), and the weights are samples of its inverse transform
// band-limited by a smooth window: w_k = (Δ/π) ∫ Re[G(ω) e^(iωkΔ)] W(ω) dω with
// W(ω) = erfc((ω − π/Δ)/b)/2. Why this method: T is analytic in a strip of
// half-width π/2 around the real ln λ axis (the layers form a passive ladder,
// Re T > 0 for Re λ > 0), so its spectrum falls like e^(−π|ω|/2) and is
// negligible long before the window departs from 1; the erfc window gives
// weights that die out like a Gaussian, so 95 of them at 20 samples a decade
// reach 1e-5 without a long published table whose every digit would need
// its own proof. The tests hold the result against direct numerical
// integration of the integrals above.
//
// The curve table: nodes every 1/20 decade from 0.1 m to 31.6 km, filled by
// one pass over shared transform samples (each node reuses the samples of
// its neighbours), with the exact slope d ln ρa / d ln s from a second weight
// set (the transform of iω G), so that a cubic Hermite segment between nodes
// stays within about 1e-4 of the integral. Everything is in the table's
// fixed arrays and in the two weight sets computed at first use; nothing is
// allocated per evaluation.
#include <algorithm>
#include <array>
#include <cmath>
#include <complex>
#include <limits>

#include "engine/CurveSegment.h"
#include "engine/ForwardModel.h"

namespace {

using TComplex = std::complex<double>;

constexpr double Pi = 3.14159265358979323846;
// Sample step in ln λ and ln s: 1/20 decade in the program's decimal logarithm.
constexpr double SampleStep = Ln10 / AccurateNodesPerDecade;
// Width of the window's fall around the band edge π/Δ = 27.3.
constexpr double WindowWidth = 5;
// Quadrature of the weights: the trapezoid rule, spectrally accurate for a
// smooth integrand that has died out (erfc(8) ≈ 1e-29) at the upper end; its
// step repeats the weights every 2π/0.05 = 126 in ln x, far beyond their
// reach of about 6.
constexpr double FrequencyStep = 0.05;
constexpr double FrequencyEnd = Pi / SampleStep + 8 * WindowWidth;

constexpr int WeightCount = AccurateLastWeight - AccurateFirstWeight + 1;

struct TAccurateFilter {
  std::array<double, WeightCount> Value{};  // w_k, k = AccurateFirstWeight...
  std::array<double, WeightCount> Slope{};  // weights of dρa/d ln s
};

// ln Γ(z) for Re z > 0: Stirling's series (Bernoulli terms to z^−7) after
// raising z by 10, where its error is below 1e-12.
TComplex LogGamma(TComplex z) {
  TComplex shift = 0;
  for (int k = 0; k < 10; ++k) shift += std::log(z + double(k));
  const TComplex w = z + 10.0;
  const TComplex w2 = w * w;
  const TComplex series = (1.0 / 12 - (1.0 / 360 - (1.0 / 1260 - 1.0 / (1680.0 * w2)) / w2) / w2) / w;
  return (w - 0.5) * std::log(w) - w + 0.5 * std::log(2 * Pi) + series - shift;
}

// G(ω): the transform of the configuration's kernel g over ln x.
TComplex KernelSpectrum(bool isSchlumberger, double omega) {
  const double phi = LogGamma(TComplex(0.5, 0.5 * omega)).imag();
  const TComplex common = std::polar(1.0, -omega * std::log(2.0) - 2 * phi);
  if (isSchlumberger) return common * TComplex(1, -omega);
  return common * (2.0 - std::polar(1.0, omega * std::log(2.0)));
}

TAccurateFilter DesignFilter(bool isSchlumberger) {
  TAccurateFilter filter;
  const int steps = static_cast<int>(FrequencyEnd / FrequencyStep);
  for (int j = 0; j <= steps; ++j) {
    const double omega = j * FrequencyStep;
    const double window = 0.5 * std::erfc((omega - Pi / SampleStep) / WindowWidth);
    const double trapezoid = j == 0 ? 0.5 : 1.0;
    const TComplex g = KernelSpectrum(isSchlumberger, omega) * (window * trapezoid * FrequencyStep * SampleStep / Pi);
    const TComplex gSlope = g * TComplex(0, omega);
    // e^(iωkΔ) for k from the first weight on, by repeated rotation.
    const TComplex turn = std::polar(1.0, omega * SampleStep);
    TComplex rotation = std::polar(1.0, omega * AccurateFirstWeight * SampleStep);
    for (int i = 0; i < WeightCount; ++i) {
      filter.Value[i] += (g * rotation).real();
      filter.Slope[i] += (gSlope * rotation).real();
      rotation *= turn;
    }
  }
  // A uniform earth gives its own resistivity and a flat curve to rounding,
  // as the program's filters do: the weights sum to 1 and the slope weights
  // to 0 (to about 1e-8 before this).
  double sum = 0, slopeSum = 0;
  for (int i = 0; i < WeightCount; ++i) sum += filter.Value[i], slopeSum += filter.Slope[i];
  for (int i = 0; i < WeightCount; ++i) filter.Value[i] /= sum, filter.Slope[i] -= slopeSum / WeightCount;
  return filter;
}

const TAccurateFilter& AccurateFilter(bool isSchlumberger) {
  static const TAccurateFilter schlumberger = DesignFilter(true);
  static const TAccurateFilter wenner = DesignFilter(false);
  return isSchlumberger ? schlumberger : wenner;
}

// u = 1/λ of transform sample n, λ_n = e^(nΔ).
const TFixedArray<double, AccurateFirstSample, AccurateLastSample>& SampleAbscissae() {
  static const auto abscissae = [] {
    TFixedArray<double, AccurateFirstSample, AccurateLastSample> u;
    for (int n = AccurateFirstSample; n <= AccurateLastSample; ++n) u[n] = std::exp(-n * SampleStep);
    return u;
  }();
  return abscissae;
}

}  // namespace

double TAccurateCurve::SampleAbscissa(int n) { return SampleAbscissae()[n]; }

void TAccurateCurve::Compute(const TResistivityTransform& transform, bool isSchlumberger) {
  IsSchlumberger = isSchlumberger;
  const auto& u = SampleAbscissae();
  for (int n = AccurateFirstSample; n <= AccurateLastSample; ++n) AccurateTransformSamples[n] = transform(u[n]);
  ComputeFromSamples();
}

void TAccurateCurve::ComputeFromSamples() {
  const TAccurateFilter& filter = AccurateFilter(IsSchlumberger);
  for (int m = AccurateFirstNode; m <= AccurateLastNode; ++m) {
    double rho = 0;
    double slope = 0;
    for (int i = 0; i < WeightCount; ++i) {
      const double t = AccurateTransformSamples[AccurateFirstWeight + i - m];
      rho += filter.Value[i] * t;
      slope += filter.Slope[i] * t;
    }
    // ρa is positive; only values far outside the admissible ranges (a fit's
    // trial step) could bring the sum to 0 or below. The table stays finite.
    const bool positive = rho > 0;
    AccurateLogRho[m] = DecimalLog(positive ? rho : std::numeric_limits<double>::denorm_min());
    AccurateNodeSlope[m] = positive ? slope / rho : 0;
  }
}

double TAccurateCurve::LogRhoAt(double x) const {
  if (std::isnan(x)) return x;
  // Beyond the table the curve goes on as a straight line in log-log with
  // the end node's slope, as the filter model's does.
  const double first = double(AccurateFirstNode) / AccurateNodesPerDecade;
  const double last = double(AccurateLastNode) / AccurateNodesPerDecade;
  if (x <= first) return AccurateLogRho[AccurateFirstNode] + AccurateNodeSlope[AccurateFirstNode] * (x - first);
  if (x >= last) return AccurateLogRho[AccurateLastNode] + AccurateNodeSlope[AccurateLastNode] * (x - last);

  const int j = std::min(static_cast<int>(std::floor(x * AccurateNodesPerDecade)), AccurateLastNode - 1);
  const double h = 1.0 / AccurateNodesPerDecade;
  const double t = x - double(j) / AccurateNodesPerDecade;
  const double d = (AccurateLogRho[j + 1] - AccurateLogRho[j]) / h;
  return HermiteSegment(AccurateLogRho[j], AccurateNodeSlope[j], AccurateNodeSlope[j + 1], d, t, t / h);
}
