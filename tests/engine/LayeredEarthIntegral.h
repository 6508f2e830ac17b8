// The apparent resistivity of a layered earth by direct numerical integration
// of its Hankel integrals, as an independent reference for the forward models:
//   Schlumberger  ρa(s) = s² ∫ T(λ) J1(λs) λ dλ = ρ1 + ∫ (T(x/s) − ρ1) x J1(x) dx,
//   Wenner        ρa(a) = 2a ∫ T(λ) [J0(λa) − J0(2λa)] dλ
//                       = ρ1 + 2 ∫ (T(x/a) − ρ1) J0(x) dx − ∫ (T(x/2a) − ρ1) J0(x) dx,
// with x = λ·spacing; ρ1 is taken out analytically (s² ∫ J1(λs) λ dλ = 1 and
// ∫ J0 = 1), which leaves integrands that die out where T reaches ρ1.
//
// Each integral is summed over the panels between successive zeros of J_ν
// (McMahon's estimate (k + ν/2 − 1/4)π is close enough for breakpoints), each
// panel by adaptive 16-point Gauss–Legendre; the oscillating partial sums are
// extrapolated by Wynn's epsilon algorithm (partition-extrapolation, Lucas &
// Stone 1995), which also carries the slowly growing terms of a spacing far
// beyond the layers. The transform is the textbook recurrence with std::tanh,
// written here again so that the reference shares nothing with the program.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <vector>

namespace reference {

struct TLayer {
  double Rho;
  double Thickness;  // ignored for the half-space, the last layer
};
using TEarth = std::vector<TLayer>;

inline double Transform(const TEarth& earth, double lambda) {
  double t = earth.back().Rho;
  for (int i = static_cast<int>(earth.size()) - 2; i >= 0; --i) {
    const double rho = earth[i].Rho;
    const double th = std::tanh(lambda * earth[i].Thickness);
    t = rho * (t + rho * th) / (rho + t * th);
  }
  return t;
}

constexpr double Pi = 3.14159265358979323846;

// Nodes and weights of 16-point Gauss–Legendre on [−1, 1]: Newton's iteration
// on the Legendre polynomial from the usual starting guesses.
struct TGaussLegendre {
  static constexpr int Order = 16;
  std::array<double, Order> Node{}, Weight{};
  TGaussLegendre() {
    for (int i = 0; i < Order; ++i) {
      double x = std::cos(Pi * (i + 0.75) / (Order + 0.5)), derivative = 0;
      for (int step = 0; step < 100; ++step) {
        double p = 1, previous = 0;
        for (int j = 1; j <= Order; ++j) {
          const double older = previous;
          previous = p;
          p = ((2 * j - 1) * x * previous - (j - 1) * older) / j;
        }
        derivative = Order * (x * p - previous) / (x * x - 1);
        const double dx = p / derivative;
        x -= dx;
        if (std::fabs(dx) < 1e-16) break;
      }
      Node[i] = x;
      Weight[i] = 2 / ((1 - x * x) * derivative * derivative);
    }
  }
  double Integrate(const std::function<double(double)>& f, double a, double b) const {
    double sum = 0;
    for (int i = 0; i < Order; ++i) sum += Weight[i] * f(0.5 * (a + b) + 0.5 * (b - a) * Node[i]);
    return 0.5 * (b - a) * sum;
  }
};

// ∫_a^b f by halving until the halves agree with the whole to tolerance.
inline double Adaptive(const std::function<double(double)>& f, double a, double b, double whole, double tolerance,
                       int depth = 0) {
  static const TGaussLegendre rule;
  const double middle = 0.5 * (a + b);
  const double left = rule.Integrate(f, a, middle), right = rule.Integrate(f, middle, b);
  if (depth >= 40 || std::fabs(left + right - whole) <= tolerance) return left + right;
  return Adaptive(f, a, middle, left, tolerance / 2, depth + 1) + Adaptive(f, middle, b, right, tolerance / 2, depth + 1);
}
inline double Adaptive(const std::function<double(double)>& f, double a, double b, double tolerance) {
  static const TGaussLegendre rule;
  return Adaptive(f, a, b, rule.Integrate(f, a, b), tolerance, 1);
}

// The limit of partial sums by Wynn's epsilon algorithm, from the highest
// even column it reaches.
inline double Wynn(const std::vector<double>& sums) {
  std::vector<double> older(sums.size() + 1, 0.0), column(sums.begin(), sums.end());
  double best = sums.back();
  for (int k = 1; column.size() > 1; ++k) {
    std::vector<double> next(column.size() - 1);
    for (std::size_t n = 0; n + 1 < column.size(); ++n) {
      const double difference = column[n + 1] - column[n];
      if (difference == 0) return k % 2 == 1 ? column[n + 1] : best;
      next[n] = older[n + 1] + 1 / difference;
    }
    older = column;
    column = next;
    if (k % 2 == 0) best = column.back();
  }
  return best;
}

// ∫_0^∞ f(x) J_ν(x) dx for an f that is smooth on the scale of the panels.
inline double HankelIntegral(const std::function<double(double)>& f, int nu, double scale) {
  const auto integrand = [&](double x) { return f(x) * std::cyl_bessel_j(nu, x); };
  const auto zero = [nu](int k) { return (k + 0.5 * nu - 0.25) * Pi; };
  constexpr double Tolerance = 1e-12;
  constexpr int MaxPanels = 4000;
  constexpr int Window = 24;  // partial sums the extrapolation uses
  std::vector<double> sums;
  double sum = 0, previous = NAN, before = NAN;
  for (int k = 0; k < MaxPanels; ++k) {
    const double term = Adaptive(integrand, k == 0 ? 0 : zero(k), zero(k + 1), Tolerance * scale);
    sum += term;
    sums.push_back(sum);
    if (k < 8) continue;
    // Terms that have died out: the sum is the integral.
    if (std::fabs(term) < Tolerance * scale && std::fabs(sums[k - 1] - sums[k - 2]) < Tolerance * scale) return sum;
    const double estimate =
        Wynn(std::vector<double>(sums.end() - std::min<std::ptrdiff_t>(Window, sums.size()), sums.end()));
    if (std::fabs(estimate - previous) < Tolerance * scale && std::fabs(previous - before) < Tolerance * scale)
      return estimate;
    before = previous;
    previous = estimate;
  }
  return NAN;  // not converged: a failing reference, never a passing one
}

inline double MaxRho(const TEarth& earth) {
  double highest = 0;
  for (const TLayer& layer : earth) highest = std::max(highest, layer.Rho);
  return highest;
}

inline double Schlumberger(const TEarth& earth, double s) {
  const double rho1 = earth.front().Rho;
  const auto f = [&](double x) { return (Transform(earth, x / s) - rho1) * x; };
  return rho1 + HankelIntegral(f, 1, MaxRho(earth));
}

inline double Wenner(const TEarth& earth, double a) {
  const double rho1 = earth.front().Rho;
  const auto near = [&](double x) { return Transform(earth, x / a) - rho1; };
  const auto far = [&](double x) { return Transform(earth, x / (2 * a)) - rho1; };
  return rho1 + 2 * HankelIntegral(near, 0, MaxRho(earth)) - HankelIntegral(far, 0, MaxRho(earth));
}

inline double ApparentRho(bool schlumberger, const TEarth& earth, double spacing) {
  return schlumberger ? Schlumberger(earth, spacing) : Wenner(earth, spacing);
}

// The two-layer earth in closed form by the method of images, k = (ρ2 − ρ1)/(ρ2 + ρ1):
//   Schlumberger ρa = ρ1 [1 + 2 Σ k^n (1 + (2nh/s)²)^(−3/2)],
//   Wenner       ρa = ρ1 [1 + 4 Σ k^n ((1 + (2nh/a)²)^(−1/2) − (4 + (2nh/a)²)^(−1/2))].
inline double TwoLayerImages(bool schlumberger, double rho1, double rho2, double h, double spacing) {
  const double k = (rho2 - rho1) / (rho2 + rho1);
  double power = 1, sum = 0;
  for (int n = 1; n < 10000000 && std::fabs(power) > 1e-18; ++n) {
    power *= k;
    const double q = 2 * n * h / spacing;
    sum += schlumberger ? 2 * power * std::pow(1 + q * q, -1.5)
                        : 4 * power * (1 / std::sqrt(1 + q * q) - 1 / std::sqrt(4 + q * q));
  }
  return rho1 * (1 + sum);
}

}  // namespace reference
