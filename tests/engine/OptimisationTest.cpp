// The fit: its unknowns and refusals, recovery of synthetic soundings in
// both configurations, the Jacobian against finite differences, the
// statistics against an independent covariance, the status codes and the
// RMSE that every ending reports.
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ResondixData.h"
#include "TestSupport.h"

namespace {

struct TLayer {
  double Rho;
  double Depth = 0;  // bottom; not used for the half-space
};
using TModel = std::vector<TLayer>;
using TVector = std::vector<double>;
using TMatrix = std::vector<TVector>;

void SetModel(TResondixData& d, const TModel& model) {
  d.LayerCount = static_cast<int>(model.size());
  for (int i = 1; i <= d.LayerCount; ++i) {
    d.LayerRho[i] = model[i - 1].Rho;
    d.LayerDepth[i] = i < d.LayerCount ? model[i - 1].Depth : HalfSpaceDepth;
  }
}

// The model's apparent resistivities at the default spacings, by the
// program's own decimal logarithm so that the true model fits to rounding.
// noise multiplies measurement i by e^(noise·sin(2.7·i)), a fixed pattern of
// relative errors up to ±noise.
TResondixData Sounding(bool schlumberger, const TModel& truth, double noise = 0, int measurements = 15) {
  TResondixData d;
  d.SetSoundingType(schlumberger);
  d.SetMeasurementCount(measurements);
  SetModel(d, truth);
  d.ComputeModelCurve();
  for (int i = 1; i <= measurements; ++i)
    d.ApparentRho[i] =
        std::exp(Ln10 * d.CurveLogRhoAt(DecimalLog(d.HalfSpacing[i])) + noise * std::sin(2.7 * i));
  return d;
}

void MarkAllUnknown(TResondixData& d) {
  for (int i = 1; i <= d.LayerCount; ++i) {
    d.RhoUnknown[i] = true;
    d.DepthUnknown[i] = i < d.LayerCount;
  }
}

// --- An independent model of the unknowns ---------------------------------

struct TUnknown {
  bool IsDepth;
  int Layer;
};

std::vector<TUnknown> UnknownsOf(const TResondixData& d) {
  std::vector<TUnknown> unknowns;
  for (int i = 1; i <= d.LayerCount; ++i)
    if (d.RhoUnknown[i]) unknowns.push_back({false, i});
  for (int i = 1; i < d.LayerCount; ++i)
    if (d.DepthUnknown[i]) unknowns.push_back({true, i});
  return unknowns;
}

TVector LogParameters(const TResondixData& d) {
  TVector p;
  for (const TUnknown& u : UnknownsOf(d))
    p.push_back(std::log(u.IsDepth ? d.LayerDepth[u.Layer] - d.LayerDepth[u.Layer - 1] : d.LayerRho[u.Layer]));
  return p;
}

// The layers for log-parameters p: a resistivity is e^p, a depth unknown is
// its layer's top plus the thickness e^p, so deeper depth unknowns move with
// it and fixed depths stay.
TResondixData WithParameters(TResondixData d, const TVector& p) {
  const std::vector<TUnknown> unknowns = UnknownsOf(d);
  for (std::size_t k = 0; k < unknowns.size(); ++k) {
    const TUnknown& u = unknowns[k];
    if (u.IsDepth) d.LayerDepth[u.Layer] = d.LayerDepth[u.Layer - 1] + std::exp(p[k]);
    else d.LayerRho[u.Layer] = std::exp(p[k]);
  }
  return d;
}

// r_i = ln(model) − ln(measured), with the layers as they stand.
TVector ResidualsOf(TResondixData d) {
  d.ComputeModelCurve();
  TVector r;
  for (int i = 1; i <= d.MeasurementCount; ++i)
    r.push_back(Ln10 * d.CurveLogRhoAt(std::log(d.HalfSpacing[i]) / 2.3026) - std::log(d.ApparentRho[i]));
  return r;
}

double Norm(const TVector& r) {
  double sum = 0;
  for (double v : r) sum += v * v;
  return std::sqrt(sum);
}

double RmseOf(const TResondixData& d) {
  return std::sqrt(Norm(ResidualsOf(d)) * Norm(ResidualsOf(d)) / (2.3026 * 2.3026) / d.MeasurementCount);
}

// J[i][k] by differences of the residuals at the parameters of d.
TMatrix DifferenceJacobian(const TResondixData& d, bool central) {
  const TVector p = LogParameters(d);
  const TVector r0 = ResidualsOf(WithParameters(d, p));
  TMatrix j(r0.size(), TVector(p.size()));
  for (std::size_t k = 0; k < p.size(); ++k) {
    TVector up = p;
    TVector down = p;
    double step = 0;
    TVector base = r0;
    if (central) {
      step = 2e-5;
      up[k] += step / 2;
      down[k] -= step / 2;
      base = ResidualsOf(WithParameters(d, down));
    } else {
      // The program's step: 1 % of the parameter plus 1e-6.
      up[k] = 1.01 * p[k] + 1e-6;
      step = up[k] - p[k];
    }
    const TVector r = ResidualsOf(WithParameters(d, up));
    for (std::size_t i = 0; i < r0.size(); ++i) j[i][k] = (r[i] - base[i]) / step;
  }
  return j;
}

// (JᵀJ)⁻¹ by Gauss–Jordan elimination with partial pivoting.
TMatrix InverseOfNormalMatrix(const TMatrix& j) {
  const std::size_t n = j[0].size();
  TMatrix a(n, TVector(2 * n, 0.0));
  for (std::size_t r = 0; r < n; ++r) {
    for (std::size_t c = 0; c < n; ++c)
      for (const TVector& row : j) a[r][c] += row[r] * row[c];
    a[r][n + r] = 1;
  }
  for (std::size_t c = 0; c < n; ++c) {
    std::size_t pivot = c;
    for (std::size_t r = c + 1; r < n; ++r)
      if (std::fabs(a[r][c]) > std::fabs(a[pivot][c])) pivot = r;
    std::swap(a[c], a[pivot]);
    const double diagonal = a[c][c];
    for (double& v : a[c]) v /= diagonal;
    for (std::size_t r = 0; r < n; ++r) {
      if (r == c) continue;
      const double factor = a[r][c];
      for (std::size_t k = 0; k < 2 * n; ++k) a[r][k] -= factor * a[c][k];
    }
  }
  TMatrix inverse(n, TVector(n));
  for (std::size_t r = 0; r < n; ++r)
    for (std::size_t c = 0; c < n; ++c) inverse[r][c] = a[r][n + c];
  return inverse;
}

// Whole-number text as the statistics write it, and whether x is so close
// to a rounding boundary that an independent value may round the other way.
std::string Whole(double x, const char* format) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, format, std::nearbyint(x) + 0.0);
  return buffer;
}
bool NearHalf(double x) { return std::fabs(std::fabs(x - std::floor(x)) - 0.5) < 1e-4; }

const TModel ThreeLayers = {{137.3, 3.37}, {28.6, 17.9}, {412.9}};
const TModel ThreeLayersStart = {{68.65, 1.685}, {57.2, 35.8}, {206.45}};  // off by a factor of 2
const TModel FourLayers = {{63.1, 2.13}, {187.4, 6.71}, {24.3, 19.6}, {311.7}};
const TModel FourLayersStart = {{126.2, 1.065}, {93.7, 13.42}, {48.6, 39.2}, {155.85}};

// --- Unknowns and refusals ---------------------------------------------------

TEST(Fit, CollectsTheUnknownsInTheirFixedOrder) {
  TResondixData d = Sounding(true, FourLayers);
  d.RhoUnknown[1] = d.RhoUnknown[3] = d.DepthUnknown[2] = true;
  d.Fit();
  ASSERT_EQ(d.UnknownCount, 3);
  EXPECT_EQ(d.ParameterNames[1], "Rho 1");
  EXPECT_EQ(d.ParameterNames[2], "Rho 3");
  EXPECT_EQ(d.ParameterNames[3], "Depth 2");
  EXPECT_EQ(d.ParameterNames[4], "");
  // The true model: the parameters stay at its logarithms to rounding.
  EXPECT_NEAR(d.Parameters[1], std::log(63.1), 1e-9);
  EXPECT_NEAR(d.Parameters[2], std::log(24.3), 1e-9);
  EXPECT_NEAR(d.Parameters[3], std::log(6.71 - 2.13), 1e-9);
}

TEST(Fit, RefusesWithoutTouchingTheLayers) {
  struct TCase {
    const char* Name;
    int Measurements;
    int NonPositiveSpacing;  // measurement given L/2 = 0 or less, 0 for none
    double Spacing;
    bool Unknowns;
    const char* Message;
    int CollectedUnknowns;
  };
  const TCase cases[] = {
      {"more unknowns than measurements", 4, 0, 0, true, "Too  Many  Unknown  Parameters  !", 5},
      {"no unknowns", 15, 0, 0, false, "No  Unknown  Parameters  Specified  !", 0},
      {"spacing 0", 15, 7, 0, true, "Spacing of measurement 7 must be greater than 0!", 5},
      {"negative spacing", 15, 15, -2.5, true, "Spacing of measurement 15 must be greater than 0!", 5},
      // The count is refused first, as it is without any spacing problem.
      {"too many and spacing 0", 4, 2, 0, true, "Too  Many  Unknown  Parameters  !", 5},
  };
  for (const TCase& c : cases) {
    TResondixData d = Sounding(true, ThreeLayers, 0.02, c.Measurements);
    SetModel(d, ThreeLayersStart);
    if (c.Unknowns) MarkAllUnknown(d);
    if (c.NonPositiveSpacing) d.HalfSpacing[c.NonPositiveSpacing] = c.Spacing;
    d.Saved = true;
    d.HasFitResult = true;
    d.Rmse = 0.123;
    d.FitStatus = 0;
    const TResondixData before = d;
    int changes = 0;
    d.OnChange = [&](TResondixData&) { ++changes; };
    TMessageRecorder recorder;
    FitSucceeded = true;

    d.Fit();

    ASSERT_EQ(recorder.Messages.size(), 1u) << c.Name;
    EXPECT_EQ(recorder.Messages[0].Kind, TMessageKind::Error) << c.Name;
    EXPECT_EQ(recorder.Messages[0].Text, c.Message) << c.Name;
    EXPECT_FALSE(FitSucceeded) << c.Name;
    EXPECT_EQ(changes, 0) << c.Name;
    EXPECT_EQ(d.LayerRho, before.LayerRho) << c.Name;
    EXPECT_EQ(d.LayerDepth, before.LayerDepth) << c.Name;
    EXPECT_TRUE(d.Saved) << c.Name;
    EXPECT_EQ(d.Rmse, 0.123) << c.Name;
    EXPECT_EQ(d.RhoPercentText, before.RhoPercentText) << c.Name;
    EXPECT_EQ(d.UnknownCount, c.CollectedUnknowns) << c.Name;
    if (c.CollectedUnknowns) {
      EXPECT_EQ(d.ParameterNames[5], "Depth 2") << c.Name;
    }
  }
}

// --- Recovery of synthetic soundings ----------------------------------------

TEST(Fit, RecoversNoiseFreeSoundingsInBothConfigurations) {
  struct TCase {
    const char* Name;
    bool Schlumberger;
    TModel Truth;
    TModel Start;
    std::vector<int> RhoUnknowns;
    std::vector<int> DepthUnknowns;
  };
  const TCase cases[] = {
      {"Schlumberger, three layers, five unknowns", true, ThreeLayers, ThreeLayersStart, {1, 2, 3}, {1, 2}},
      {"Wenner, four layers, seven unknowns", false, FourLayers, FourLayersStart, {1, 2, 3, 4}, {1, 2, 3}},
      {"Schlumberger, four layers, three unknowns", true,
       {{212.7, 1.83}, {41.9, 5.62}, {8.37, 22.4}, {96.1}},
       {{212.7, 1.83}, {83.8, 11.24}, {4.185, 22.4}, {96.1}}, {2, 3}, {2}},
      {"Wenner, two layers, three unknowns", false, {{18.4, 4.71}, {263.5}}, {{36.8, 2.355}, {131.75}}, {1, 2}, {1}},
  };
  for (const TCase& c : cases) {
    TResondixData d = Sounding(c.Schlumberger, c.Truth);
    SetModel(d, c.Start);
    for (int i : c.RhoUnknowns) d.RhoUnknown[i] = true;
    for (int i : c.DepthUnknowns) d.DepthUnknown[i] = true;
    ASSERT_GT(RmseOf(d), 0.05) << c.Name << ": the start must not fit already";
    FitSucceeded = true;

    d.Fit();

    EXPECT_EQ(d.FitStatus, 0) << c.Name;
    EXPECT_TRUE(FitSucceeded) << c.Name;
    EXPECT_TRUE(d.HasFitResult) << c.Name;
    EXPECT_FALSE(d.Saved) << c.Name;
    // The fit ends once the sum of squares is at most 0.005² (or stops
    // falling): an RMSE of at most 0.005 / √15 / 2.3026 log units.
    EXPECT_LE(d.Rmse, 0.005 / std::sqrt(15.0) / 2.3026) << c.Name;
    EXPECT_NEAR(d.Rmse, RmseOf(d), 1e-12) << c.Name;

    // That criterion leaves poorly resolved values loose; with a far
    // smaller absolute tolerance the iteration goes on to the true model.
    d.AbsoluteTolerance = 1e-10;
    d.Optimise();
    EXPECT_EQ(d.FitStatus, 0) << c.Name;
    const double relative = 1e-6;  // a residual norm near 1e-11 pins every value this closely
    for (int i = 1; i <= d.LayerCount; ++i) {
      EXPECT_NEAR(d.LayerRho[i], c.Truth[i - 1].Rho, relative * c.Truth[i - 1].Rho) << c.Name << ", layer " << i;
      if (i < d.LayerCount) {
        EXPECT_NEAR(d.LayerDepth[i], c.Truth[i - 1].Depth, relative * c.Truth[i - 1].Depth) << c.Name << ", layer " << i;
      }
    }
  }
}

// Layer values that survive the program's logarithm and exponential
// unchanged, and measurements whose logarithms equal the model's exactly:
// the residuals are then exactly 0.
void MakeExactlyFitting(TResondixData& d) {
  for (int pass = 0; pass < 10; ++pass) {
    for (int i = 1; i <= d.LayerCount; ++i) {
      d.LayerRho[i] = std::exp(std::log(d.LayerRho[i]));
      if (i < d.LayerCount) d.LayerDepth[i] = d.LayerDepth[i - 1] + std::exp(std::log(d.LayerDepth[i] - d.LayerDepth[i - 1]));
    }
  }
  d.ComputeModelCurve();
  for (int i = 1; i <= d.MeasurementCount; ++i) {
    const double target = Ln10 * d.CurveLogRhoAt(DecimalLog(d.HalfSpacing[i]));
    double a = std::exp(target);
    for (int step = 0; step < 64 && std::log(a) != target; ++step)
      a = std::nextafter(a, std::log(a) < target ? HUGE_VAL : 0.0);
    d.ApparentRho[i] = a;
  }
}

TEST(Fit, AModelThatAlreadyFitsEndsAfterOneIteration) {
  TResondixData d = Sounding(true, ThreeLayers);
  MarkAllUnknown(d);
  MakeExactlyFitting(d);
  for (double r : ResidualsOf(d)) ASSERT_EQ(r, 0) << "the construction must fit exactly";
  const TResondixData before = d;

  d.Fit();

  // The step is 0, so Δ = 0 ≥ 0.01·P = 0: the first trial is accepted with
  // a sum of squares of 0, and the fit ends.
  EXPECT_EQ(d.FitStatus, 0);
  EXPECT_EQ(d.EvaluationCount, 2);
  EXPECT_EQ(d.LayerRho, before.LayerRho);
  EXPECT_EQ(d.LayerDepth, before.LayerDepth);
  EXPECT_EQ(d.ResidualNorm, 0);
  EXPECT_EQ(d.Rmse, 0);
  EXPECT_EQ(d.RhoPercentText[1], "  0%");
}

// --- Jacobian ----------------------------------------------------------------

TEST(Jacobian, MatchesFiniteDifferences) {
  for (bool schlumberger : {true, false}) {
    TResondixData d = Sounding(schlumberger, FourLayers, 0.03);
    SetModel(d, FourLayersStart);
    MarkAllUnknown(d);
    d.Fit();  // collects the unknowns
    SetModel(d, FourLayersStart);
    const TVector p = LogParameters(d);
    for (std::size_t k = 0; k < p.size(); ++k) d.Parameters[int(k) + 1] = p[k];
    ASSERT_TRUE(d.ApplyParameters());
    const TResondixData at = d;  // the layers keep the last perturbation afterwards

    d.ComputeJacobian();

    EXPECT_FALSE(d.InJacobian);
    EXPECT_EQ(d.Residuals, at.Residuals);
    for (std::size_t k = 0; k < p.size(); ++k) EXPECT_EQ(d.Parameters[int(k) + 1], p[k]);
    const TMatrix forward = DifferenceJacobian(at, false);
    const TMatrix central = DifferenceJacobian(at, true);
    for (int i = 1; i <= d.MeasurementCount; ++i)
      for (int k = 1; k <= d.UnknownCount; ++k) {
        // The same forward difference computed apart: equal to rounding.
        EXPECT_NEAR(d.Jacobian[i][k], forward[i - 1][k - 1], 1e-9) << i << "," << k;
        // The derivative itself: the forward step of 1 % of p (up to 0.06)
        // is off by about half the step times the second derivative.
        EXPECT_NEAR(d.Jacobian[i][k], central[i - 1][k - 1], 0.03) << i << "," << k;
      }
  }
}

TEST(Jacobian, AParameterOfMinusOneTenThousandthGetsAStepAllTheSame) {
  // 1.01·p + 1e-6 = p here: the difference quotient would be 0/0.
  const double p = -0.0001;
  ASSERT_EQ(1.01 * p + 1e-6, p);
  TResondixData d = Sounding(true, {{std::exp(p), 4.4}, {31.7}}, 0.02);
  d.RhoUnknown[1] = true;
  d.DepthUnknown[1] = true;
  d.UnknownCount = 2;
  d.Parameters[1] = p;
  d.Parameters[2] = std::log(4.4);
  ASSERT_TRUE(d.ApplyParameters());
  const TMatrix central = DifferenceJacobian(d, true);
  d.ComputeJacobian();
  for (int i = 1; i <= d.MeasurementCount; ++i) {
    ASSERT_TRUE(std::isfinite(d.Jacobian[i][1])) << i;
    EXPECT_NEAR(d.Jacobian[i][1], central[i - 1][0], 1e-4) << i;  // step 1e-6: nearly exact
  }
}

// --- Statistics against an independent covariance ------------------------------

TEST(Fit, StatisticsAgreeWithAnIndependentCovariance) {
  for (bool schlumberger : {true, false}) {
    const char* name = schlumberger ? "Schlumberger" : "Wenner";
    TResondixData d = Sounding(schlumberger, ThreeLayers, 0.04);
    SetModel(d, ThreeLayersStart);
    MarkAllUnknown(d);
    d.Fit();
    ASSERT_EQ(d.FitStatus, 0) << name;

    // Fitting again from the converged model takes one iteration, so its
    // covariance belongs to the Jacobian at this known point.
    const TResondixData converged = d;
    d.Fit();
    ASSERT_EQ(d.FitStatus, 0) << name;
    ASSERT_EQ(d.EvaluationCount, 2) << name << ": one iteration, its first trial accepted";

    const TMatrix c = InverseOfNormalMatrix(DifferenceJacobian(converged, false));
    const int n = d.UnknownCount;
    const int m = d.MeasurementCount;
    ASSERT_EQ(n, 5);
    const double scale = std::sqrt(d.ResidualNorm * d.ResidualNorm / (m - n));
    EXPECT_NEAR(d.ResidualNorm, Norm(ResidualsOf(d)), 1e-12) << name;
    const std::vector<TUnknown> unknowns = UnknownsOf(d);
    for (int k = 1; k <= n; ++k) {
      for (int j = 1; j <= n; ++j) {
        // (JᵀJ)⁻¹ against V·diag(1/(w + ε)²)·Vᵀ: ε and the solution's
        // rounding move it by far less than 1e-6 of the standard errors.
        const double unit = std::sqrt(c[k - 1][k - 1] * c[j - 1][j - 1]);
        EXPECT_NEAR(d.Covariance()[k][j], c[k - 1][j - 1], 1e-6 * unit) << name << " " << k << "," << j;
        const double r = 100 * c[k - 1][j - 1] / unit;
        if (j <= k && !NearHalf(r)) {
          EXPECT_EQ(d.CorrelationText(k, j), Whole(r, "%.0f%%")) << name;
        }
        if (j > k) {
          EXPECT_EQ(d.CorrelationText(k, j), "") << name;
        }
      }
      const double p = d.Parameters[k];
      const double sigma = std::sqrt(c[k - 1][k - 1]) * scale;
      const double percent = 100.5 - 100 * std::exp(-sigma);
      if (!NearHalf(percent)) {
        EXPECT_EQ(d.ParameterPercent[k], std::nearbyint(percent)) << name << " " << k;
      }
      const TUnknown& u = unknowns[k - 1];
      const std::string percentText = u.IsDepth ? d.DepthPercentText[u.Layer].str() : d.RhoPercentText[u.Layer].str();
      EXPECT_EQ(percentText, Whole(d.ParameterPercent[k], "%3.0f%%")) << name << " " << k;
      if (sigma > 3) {
        EXPECT_EQ(d.ParameterLower[k], 1.7e308) << name << " " << k;
        continue;
      }
      EXPECT_NEAR(d.ParameterLower[k], std::exp(p - sigma), 1e-6 * std::exp(p)) << name << " " << k;
      EXPECT_NEAR(d.ParameterUpper[k], std::exp(p + sigma), 1e-6 * std::exp(p)) << name << " " << k;
      const double top = u.IsDepth ? d.LayerDepth[u.Layer - 1] : 0;
      const double lo = std::exp(p - sigma) + top;
      const double hi = std::exp(p + sigma) + top;
      const std::string interval = u.IsDepth ? d.DepthIntervalText[u.Layer].str() : d.RhoIntervalText[u.Layer].str();
      if (!NearHalf(lo) && !NearHalf(hi) && std::nearbyint(lo) != std::nearbyint(hi)) {
        EXPECT_EQ(interval, Whole(lo, "%.0f") + " - " + Whole(hi, "%.0f")) << name << " " << k;
      }
    }
  }
}

TEST(Fit, UnknownsAsManyAsMeasurementsLeaveNoFigures) {
  TResondixData d = Sounding(false, ThreeLayers, 0, 5);
  SetModel(d, ThreeLayersStart);
  MarkAllUnknown(d);
  for (int i = 0; i <= MaxLayers; ++i) {
    d.RhoPercentText[i] = " 12%";
    d.DepthIntervalText[i] = "3 - 4";
  }
  d.Fit();
  ASSERT_EQ(d.UnknownCount, d.MeasurementCount);
  ASSERT_EQ(d.FitStatus, 0);
  for (int i = 0; i <= MaxLayers; ++i) {
    EXPECT_EQ(d.RhoPercentText[i], "  * ") << i;
    EXPECT_EQ(d.DepthPercentText[i], "  * ") << i;
    EXPECT_EQ(d.RhoIntervalText[i], "  * ") << i;
    EXPECT_EQ(d.DepthIntervalText[i], "  * ") << i;
  }
}

TEST(Fit, NotifiesOnceAndWritesTheStatisticsAfterwards) {
  TResondixData d = Sounding(true, ThreeLayers, 0.03);
  SetModel(d, ThreeLayersStart);
  MarkAllUnknown(d);
  int changes = 0;
  std::string textDuringChange;
  d.OnChange = [&](TResondixData& sender) {
    ++changes;
    EXPECT_TRUE(sender.StructureChanged);
    EXPECT_FALSE(sender.Saved);
    EXPECT_TRUE(sender.HasFitResult);
    textDuringChange = sender.RhoPercentText[1].str();
  };
  d.Fit();
  ASSERT_EQ(d.FitStatus, 0);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(textDuringChange, "  * ");
  EXPECT_NE(d.RhoPercentText[1], "  * ");
}

// --- Depths, ranges and early endings -----------------------------------------

TEST(Fit, ADepthUnknownStopsAtTheFixedDepthBelowIt) {
  // The data want the first interface at 11.6 m, but the fixed second one
  // is at 7.4 m.
  TResondixData d = Sounding(true, {{94.3, 11.6}, {12.7, 26.2}, {233.1}});
  SetModel(d, {{94.3, 4.1}, {12.7, 7.4}, {233.1}});
  d.RhoUnknown[1] = d.RhoUnknown[2] = d.RhoUnknown[3] = true;
  d.DepthUnknown[1] = true;
  d.Fit();
  EXPECT_EQ(d.FitStatus, 0);
  EXPECT_EQ(d.LayerDepth[1], 7.4);
  EXPECT_EQ(d.LayerDepth[2], 7.4);
  EXPECT_EQ(d.Parameters[4], std::log(7.4));  // rewritten to the depth it stopped at
}

TEST(Fit, AParameterLeavingItsRangeStopsTheFitWithAWarning) {
  struct TCase {
    const char* Name;
    TResondixData Document;
  };
  std::vector<TCase> cases;
  {
    // The starting resistivity of the half-space is beyond e^20.
    TResondixData d = Sounding(true, ThreeLayers, 0.02);
    SetModel(d, {{137.3, 3.37}, {28.6, 17.9}, {6.1e8}});
    MarkAllUnknown(d);
    cases.push_back({"at the start", d});
  }
  {
    // ln ρ = 19.9 is admissible, the Jacobian's perturbation is not.
    TResondixData d = Sounding(true, ThreeLayers, 0.02);
    SetModel(d, {{68.65, 1.685}, {57.2, 35.8}, {std::exp(19.9)}});
    MarkAllUnknown(d);
    cases.push_back({"in the Jacobian", d});
  }
  {
    // Flat data and a fixed top layer of the wrong resistivity: the fit
    // thins that layer below e^-5 m.
    TResondixData d = Sounding(true, {{51.3}});
    SetModel(d, {{4.7, 1.37}, {51.3}});
    d.DepthUnknown[1] = d.RhoUnknown[2] = true;
    cases.push_back({"in a trial step", d});
  }
  for (TCase& c : cases) {
    TResondixData& d = c.Document;
    d.ResidualNorm = 0.4321;  // left by an earlier fit
    d.Rmse = 0.0456;
    d.RhoPercentText[1] = " 12%";
    TMessageRecorder recorder;
    FitSucceeded = true;

    d.Fit();

    EXPECT_EQ(d.FitStatus, 2) << c.Name;
    ASSERT_EQ(recorder.Messages.size(), 1u) << c.Name;
    EXPECT_EQ(recorder.Messages[0].Kind, TMessageKind::Warning) << c.Name;
    EXPECT_EQ(recorder.Messages[0].Text, "The fit stopped: a parameter left its admissible range.") << c.Name;
    EXPECT_TRUE(FitSucceeded) << c.Name;
    EXPECT_TRUE(d.HasFitResult) << c.Name;
    EXPECT_EQ(d.ResidualNorm, 0.4321) << c.Name;
    EXPECT_EQ(d.RhoPercentText[1], " 12%") << c.Name;
    // The RMSE is that of the layers the fit left, not of an earlier fit.
    EXPECT_NEAR(d.Rmse, RmseOf(d), 1e-12) << c.Name;
    EXPECT_NE(d.Rmse, 0.0456) << c.Name;
  }
  EXPECT_EQ(cases[0].Document.LayerRho[3], 6.1e8);
  EXPECT_EQ(cases[0].Document.EvaluationCount, 1);
  EXPECT_EQ(cases[1].Document.EvaluationCount, 1);  // no trial yet
  const TResondixData& trial = cases[2].Document;
  EXPECT_GT(trial.EvaluationCount, 2);
  EXPECT_LT(trial.Parameters[2], -5);
  // Having decomposed a Jacobian, the fit leaves its covariance
  // V·diag(1/(w + ε)²)·Vᵀ (whose trace is Σ 1/(w + ε)²) rather than V,
  // with which it shares its storage.
  double trace = 0;
  double expected = 0;
  for (int k = 1; k <= trial.UnknownCount; ++k) {
    trace += trial.Covariance()[k][k];
    expected += 1 / std::pow(trial.SingularValues[k] + 1e-10, 2);
  }
  EXPECT_NEAR(trace, expected, 1e-9 * expected);
  EXPECT_EQ(trial.Covariance()[1][2], trial.Covariance()[2][1]);
}

TEST(Fit, AJacobianOfZerosEndsWithNoSolutionAndNoNaN) {
  // Layers of 1 ohm·m have a transform of exactly 1 whatever their depths:
  // the depth unknowns do not move the curve at all.
  for (int layers : {2, 3}) {
    TResondixData d = Sounding(true, {{3.7}});
    SetModel(d, layers == 2 ? TModel{{1, 2.9}, {1}} : TModel{{1, 2.9}, {1, 8.3}, {1}});
    for (int i = 1; i < layers; ++i) d.DepthUnknown[i] = true;
    d.ResidualNorm = 0.4321;
    d.Fit();
    EXPECT_EQ(d.FitStatus, 1) << layers;
    EXPECT_EQ(d.ResidualNorm, 0.4321) << layers;
    for (int k = 1; k < layers; ++k) {
      EXPECT_EQ(d.SingularValues[k], 0) << layers;
      EXPECT_TRUE(std::isfinite(d.Parameters[k])) << layers;
      for (int j = 1; j < layers; ++j) EXPECT_TRUE(std::isfinite(d.Covariance()[k][j])) << layers;
    }
    EXPECT_NEAR(d.Rmse, RmseOf(d), 1e-12) << layers;
    EXPECT_GT(d.Rmse, 0.5) << layers;
  }
}

TEST(Optimise, TheEvaluationLimitEndsWithoutEvaluatingTheStep) {
  TResondixData d = Sounding(true, ThreeLayers, 0.02);
  SetModel(d, ThreeLayersStart);
  MarkAllUnknown(d);
  d.Fit();
  SetModel(d, ThreeLayersStart);
  const TVector p = LogParameters(d);
  for (std::size_t k = 0; k < p.size(); ++k) d.Parameters[int(k) + 1] = p[k];
  const double startNorm = Norm(ResidualsOf(d));

  d.MaxEvaluations = 2.4;  // rounded to 2: the first trial reaches it
  d.Optimise();

  EXPECT_EQ(d.FitStatus, 1);
  EXPECT_EQ(d.EvaluationCount, 2);
  EXPECT_EQ(d.PreviousParameters[1], p[0]);
  EXPECT_NEAR(d.ResidualNorm, startNorm, 1e-12);  // the last accepted point: the start
}

}  // namespace
