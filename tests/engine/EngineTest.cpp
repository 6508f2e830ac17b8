// The engine: the filter model against its documented values, the closed
// form and the physics beyond its table, the decomposition of the fit's
// Jacobian, recovery of soundings, Jacobian and covariance against
// independent computations, and every way a fit ends by itself.
#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/FitStatistics.h"
#include "engine/ForwardModel.h"
#include "engine/Optimisation.h"
#include "engine/SingularValueDecomposition.h"
#include "tests/engine/EngineTestSupport.h"

namespace {

TFilterCurve FilterCurve(bool schlumberger, const TLayerModel& model) {
  TFilterCurve curve;
  curve.Compute(model, schlumberger);
  return curve;
}

TEST(ForwardModel, DocumentedValuesOfTheCurveTable) {
  // 100 over 10 ohm·m below 10 m, to half a unit of the last digit shown.
  for (const auto& [schlumberger, node, value, halfLastDigit] :
       {std::tuple{true, 1, 99.97, 0.005}, {true, 7, 86.9, 0.05}, {true, 13, 10.35, 0.005}, {false, 1, 99.99, 0.005},
        {false, 4, 73.6, 0.05}, {false, 7, 10.30, 0.005}}) {
    const TFilterCurve c = FilterCurve(schlumberger, LayerModel({{100, 10}, {10}}));
    EXPECT_NEAR(std::pow(10.0, c.CurveLogRho[node]), value, halfLastDigit + 1e-12) << node;
    EXPECT_NEAR(c.CurveLogSpacing[node], (node - 1.0) / (schlumberger ? 6 : 3), 1e-12);
  }
  // One layer: flat at ln(1e4·ρ)/2.3026 − 4 (the filters sum to 1e4), to
  // rounding. A resistivity of 0 sums to 0, which must keep the table finite.
  for (bool schlumberger : {true, false}) {
    const TFilterCurve c = FilterCurve(schlumberger, LayerModel({{37.3}})), zero = FilterCurve(schlumberger, LayerModel({{0}}));
    EXPECT_EQ(c.NodeCount(), schlumberger ? 22 : 12);
    for (int j = 1; j <= c.NodeCount(); ++j) {
      EXPECT_NEAR(c.CurveLogRho[j], std::log(1e4 * 37.3) / 2.3026 - 4, 1e-12) << j;
      EXPECT_TRUE(std::isfinite(zero.CurveLogRho[j]) && std::isfinite(zero.CurveNodeSlope[j])) << j;
    }
  }
}

TEST(ForwardModel, TransformMatchesTheClosedTwoLayerForm) {
  // T(1/λ) = ρ1 (1 + k e^(−2λh)) / (1 − k e^(−2λh)), k = (ρ2 − ρ1) / (ρ2 + ρ1).
  const TResistivityTransform transform(LayerModel({{83.7, 6.4}, {12.9}}));
  const double k = (12.9 - 83.7) / (12.9 + 83.7);
  for (double u : {0.05, 0.7, 3.0, 40.0, 900.0}) {
    const double e = std::exp(-2 * 6.4 / u);
    EXPECT_NEAR(transform(u), 83.7 * (1 + k * e) / (1 - k * e), 1e-9) << "u = " << u;
  }
}

TEST(ForwardModel, InterpolationHitsTheNodesAndJoinsSmoothly) {
  const TFilterCurve c = FilterCurve(false, LayerModel({{230, 2.7}, {41, 13.1}, {880, 61.0}, {17}}));
  // Difference quotients over h = 1e-7 agree with the node slopes to about h
  // times the curvature.
  for (int j = 1; j <= c.NodeCount(); ++j) {
    const double x = c.CurveLogSpacing[j], h = 1e-7;
    EXPECT_EQ(c.LogRhoAt(x), c.CurveLogRho[j]) << "node " << j;
    EXPECT_NEAR((c.LogRhoAt(x) - c.LogRhoAt(x - h)) / h, c.CurveNodeSlope[j], 1e-5) << j;
    EXPECT_NEAR((c.LogRhoAt(x + h) - c.LogRhoAt(x)) / h, c.CurveNodeSlope[j], 1e-5) << j;
  }
  EXPECT_TRUE(std::isnan(c.LogRhoAt(std::nan(""))));
}

// Beyond the ends of either table the curve goes on straight in log-log; at
// spacings far below the top layer's thickness a sounding sees only that
// layer, and far beyond the last interface only the half-space. Each
// tolerance is what the straight continuation of that table reaches there.
TEST(ForwardModel, BeyondBothEndsOfItsTableTheCurveSeesTheTopLayerAndTheHalfSpace) {
  const struct {
    TForwardModel Model;
    double Below, Beyond;  // spacings outside the table, m
    double Tolerance;      // relative
  } rows[] = {{TForwardModel::Filter, 0.2, 20000, 0.01}, {TForwardModel::Accurate, 0.03, 60000, 0.002}};
  for (const auto& row : rows)
    for (bool schlumberger : {true, false}) {
      TModelCurve thickTop, shallow;
      thickTop.Compute(LayerModel({{50, 300}, {500}}), {schlumberger, row.Model});
      shallow.Compute(LayerModel({{50, 0.5}, {500}}), {schlumberger, row.Model});
      const std::string name = std::string(schlumberger ? "Schlumberger" : "Wenner") +
                               (row.Model == TForwardModel::Accurate ? ", accurate" : ", filter");
      EXPECT_NEAR(thickTop.ModelApparentRho(row.Below), 50, 50 * row.Tolerance) << name;
      EXPECT_NEAR(shallow.ModelApparentRho(row.Beyond), 500, 500 * row.Tolerance) << name;
      // Where the curve still bends at the ends of the table, it goes on from
      // the end nodes without a step.
      TModelCurve bent;
      bent.Compute(LayerModel({{50, 0.03}, {900, 0.2}, {40, 3000}, {700}}), {schlumberger, row.Model});
      for (const int node : {bent.FirstNode(), bent.LastNode()}) {
        const double end = bent.NodeLogSpacing(node);
        EXPECT_EQ(bent.LogRhoAt(end), bent.NodeLogRho(node)) << name;
        EXPECT_NEAR(bent.LogRhoAt(end - 1e-9), bent.LogRhoAt(end), 1e-8) << name << " at " << end;
        EXPECT_NEAR(bent.LogRhoAt(end + 1e-9), bent.LogRhoAt(end), 1e-8) << name << " at " << end;
      }
    }
}

// Orthonormality holds to a few hundred units of the last place; the sweeps
// stop at a superdiagonal below ε·‖J‖∞ (ε = 1e-10), so the product is off by
// about that much.
constexpr double RoundingTolerance = 1e-12;
constexpr double ProductTolerance = 10 * 1e-10;

// Decomposes a (m × n) in arrays that hold stale values, checks what the
// optimiser relies on, and that `deficiency` singular values are negligible.
void ExpectDecomposition(const std::vector<std::vector<double>>& a, const std::string& what, int deficiency = 0) {
  const int m = static_cast<int>(a.size()), n = static_cast<int>(a[0].size());
  TJacobianMatrix u;
  TUnknownMatrix v;
  TUnknownVector w, e;
  double norm = 0;  // ‖J‖∞, the largest absolute row sum
  for (int i = 1; i <= MaxMeasurements; ++i) {
    double sum = 0;
    for (int k = 1; k <= MaxUnknowns; ++k) u[i][k] = i <= m && k <= n ? a[i - 1][k - 1] : 7.25;
    for (int k = 1; k <= n && i <= m; ++k) sum += std::fabs(a[i - 1][k - 1]);
    norm = std::max(norm, sum);
  }
  for (int j = 1; j <= MaxUnknowns; ++j) v[j].Fill(-3.5);
  DecomposeJacobian(u, w, e, v, m, n, 1e-10);
  for (int i = 1; i <= m; ++i)
    for (int k = 1; k <= n; ++k) {
      double sum = 0;
      for (int j = 1; j <= n; ++j) sum += u[i][j] * w[j] * v[k][j];
      ASSERT_NEAR(sum, a[i - 1][k - 1], ProductTolerance * norm) << what << ": U·diag(w)·Vᵀ at " << i << "," << k;
    }
  for (int j = 1; j <= n; ++j)
    for (int k = 1; k <= n; ++k) {
      double uu = 0, vv = 0;
      for (int i = 1; i <= m; ++i) uu += u[i][j] * u[i][k];
      for (int i = 1; i <= n; ++i) vv += v[i][j] * v[i][k];
      ASSERT_NEAR(uu, j == k, RoundingTolerance) << what << ": UᵀU at " << j << "," << k;
      ASSERT_NEAR(vv, j == k, RoundingTolerance) << what << ": VᵀV at " << j << "," << k;
    }
  std::vector<double> values(&w[1], &w[1] + n);
  std::sort(values.begin(), values.end());
  EXPECT_GE(values[0], 0) << what;
  for (int k = 0; k < deficiency; ++k) EXPECT_LE(values[k], ProductTolerance * norm) << what;
}

TEST(SingularValueDecomposition, EveryShapeFullRankRankDeficientWithAZeroColumnAndAllZero) {
  std::mt19937 random(20260512);
  std::uniform_real_distribution<double> entry(-1.0, 1.0);
  for (const auto& [m, n] : {std::pair{1, 1}, {2, 1}, {15, 1}, {3, 2}, {5, 5}, {9, 4}, {15, 7}, {12, 11}, {15, 15}}) {
    const std::string shape = std::to_string(m) + "x" + std::to_string(n);
    // Random columns scaled by up to two orders of magnitude, as a fit's resistivities and
    // thicknesses are; those from `rank` on multiples of earlier ones.
    for (int rank = 1; rank <= n; ++rank)
      for (int trial = 0; trial < (rank == n ? 10 : 1); ++trial) {
        std::vector<std::vector<double>> a(m, std::vector<double>(n));
        for (int k = 0; k < n; ++k) {
          const double scale = std::pow(10.0, entry(random));
          for (int i = 0; i < m; ++i) a[i][k] = k < rank ? scale * entry(random) : 3 * a[i][k % rank];
        }
        ExpectDecomposition(a, "rank " + std::to_string(rank) + " of " + shape, n - rank);
        if (rank < n || trial > 0) continue;
        for (auto& row : a) row[n / 2] = 0;  // a depth that does not move the curve
        ExpectDecomposition(a, "zero column, " + shape, 1);
      }
    ExpectDecomposition(std::vector<std::vector<double>>(m, std::vector<double>(n, 0.0)), "all zero " + shape, n);
  }
  ExpectDecomposition({{-4.2}, {0}, {-1e-10}}, "below the first entry too little to reflect");
}

const TCurveSettings Schlumberger{true, TForwardModel::Filter};
const TCurveSettings Wenner{false, TForwardModel::Filter};
const TLayerModel ThreeLayers = LayerModel({{137.3, 3.37}, {28.6, 17.9}, {412.9}});
const TLayerModel ThreeLayersStart = LayerModel({{68.65, 1.685}, {57.2, 35.8}, {206.45}});  // off by a factor of 2
const TLayerModel FourLayers = LayerModel({{63.1, 2.13}, {187.4, 6.71}, {24.3, 19.6}, {311.7}});
const TLayerModel FourLayersStart = LayerModel({{126.2, 1.065}, {93.7, 13.42}, {48.6, 39.2}, {155.85}});

TEST(Fit, RecoversNoiseFreeSoundingsInBothConfigurations) {
  for (const auto& [curve, truth, start] :
       {std::tuple{Schlumberger, ThreeLayers, ThreeLayersStart}, {Wenner, FourLayers, FourLayersStart}}) {
    const TSounding s = Measured(truth, curve);
    ASSERT_GT(RmseOf(s, start, curve), 0.05) << "the start must not fit already";
    TFit fit;
    const TFitResult first = fit.Run(s, start, AllUnknowns(truth.LayerCount), curve);
    EXPECT_EQ(first.Status, TFitStatus::Converged);
    // The fit ends at a sum of squares of 0.005²: an RMSE of 0.005 / √15 / 2.3026 log units.
    EXPECT_LE(first.Rmse, 0.005 / std::sqrt(15.0) / 2.3026);
    EXPECT_NEAR(first.Rmse, RmseOf(s, first.Model, curve), 1e-12);
    // With a tolerance of 1e-10 it goes on to a residual norm near 1e-11: every value to 1e-6.
    fit.Settings.AbsoluteTolerance = 1e-10;
    const TLayerModel& model = fit.Run(s, first.Model, AllUnknowns(truth.LayerCount), curve).Model;
    for (int i = 1; i <= truth.LayerCount; ++i) {
      EXPECT_NEAR(model.LayerRho[i], truth.LayerRho[i], 1e-6 * truth.LayerRho[i]) << "layer " << i;
      EXPECT_NEAR(model.LayerDepth[i], truth.LayerDepth[i], 1e-6 * truth.LayerDepth[i]) << "layer " << i;
    }
  }
}

// The layers for log-parameters p in the fit's order: resistivities, then thicknesses.
TLayerModel WithParameters(TLayerModel model, const TUnknownFlags& unknowns, const TUnknownVector& p) {
  int k = 0;
  for (int i = 1; i <= model.LayerCount; ++i)
    if (unknowns.RhoUnknown[i]) model.LayerRho[i] = std::exp(p[++k]);
  for (int i = 1; i < model.LayerCount; ++i)
    if (unknowns.DepthUnknown[i]) model.LayerDepth[i] = model.LayerDepth[i - 1] + std::exp(p[++k]);
  return model;
}

// r_i = ln(model) − ln(measured), from the curve.
double Residual(const TSounding& s, const TLayerModel& model, int i) {
  TModelCurve curve;
  curve.Compute(model, Schlumberger);
  return curve.LnApparentRho(s.HalfSpacing[i]) - std::log(s.ApparentRho[i]);
}

TEST(Fit, JacobianAgreesWithCentralDifferencesAlsoAtAParameterOfMinusOneTenThousandth) {
  const TSounding s = Measured(FourLayers, Schlumberger, 0.03);
  const TUnknownFlags all = AllUnknowns(4);
  TFit fit;
  const TFitResult result = fit.Run(s, FourLayersStart, all, Schlumberger);
  TUnknownVector p = result.Parameters;
  p[2] = -0.0001;  // ρ2 ≈ 1: 1.01·p + 1e-6 = p, the fit steps by 1e-6 instead
  ASSERT_EQ(1.01 * p[2] + 1e-6, p[2]);
  TJacobianMatrix jacobian;
  ASSERT_TRUE(fit.JacobianAt(s, result.Model, all, Schlumberger, p, jacobian));
  for (int k = 1; k <= result.UnknownCount; ++k) {
    TUnknownVector up = p, down = p;
    up[k] += 1e-5, down[k] -= 1e-5;
    const TLayerModel upper = WithParameters(result.Model, all, up), lower = WithParameters(result.Model, all, down);
    // The fit's forward step of 1 % of p (up to 0.06) is off by half of it times the curvature.
    for (int i = 1; i <= s.MeasurementCount; ++i)
      EXPECT_NEAR(jacobian[i][k], (Residual(s, upper, i) - Residual(s, lower, i)) / 2e-5, 0.03) << i << "," << k;
  }
}

TEST(Fit, CovarianceInvertsTheNormalMatrixAndTheUncertaintiesFollowFromIt) {
  for (const TCurveSettings& curve : {Schlumberger, Wenner}) {
    const TSounding s = Measured(ThreeLayers, curve, 0.04);
    const TUnknownFlags all = AllUnknowns(3);
    TFit fit;
    const TLayerModel converged = fit.Run(s, ThreeLayersStart, all, curve).Model;
    // Fitting again from the converged model takes one iteration, whose
    // covariance belongs to the Jacobian at this point.
    const TFitResult again = fit.Run(s, converged, all, curve);
    ASSERT_TRUE(again.Status == TFitStatus::Converged && again.EvaluationCount == 2);
    TUnknownVector p;
    for (int i = 1; i <= 3; ++i) p[i] = std::log(converged.LayerRho[i]);
    for (int i = 1; i <= 2; ++i) p[3 + i] = std::log(converged.Thickness(i));
    TJacobianMatrix j;
    ASSERT_TRUE(fit.JacobianAt(s, converged, all, curve, p, j));
    const int n = again.UnknownCount;
    const auto& c = again.Covariance;
    const TUncertainties u = ComputeUncertainties(again, s.MeasurementCount);
    for (int k = 1; k <= n; ++k) {
      for (int l = 1; l <= n; ++l) {
        double product = 0;  // (JᵀJ)·C = I, to ε and rounding
        for (int m = 1; m <= n; ++m)
          for (int i = 1; i <= 15; ++i) product += j[i][k] * j[i][m] * c[m][l];
        EXPECT_NEAR(product, k == l, 1e-6) << k << "," << l;
      }
      // The upper bound e^(p + σ), σ = √C[k][k] · √(SS / (M − n)).
      const double sigma = std::sqrt(c[k][k]) * again.ResidualNorm / std::sqrt(15 - n);
      EXPECT_NEAR(u.Upper[k], std::exp(again.Parameters[k] + sigma), 1e-9 * u.Upper[k]) << k;
    }
  }
}

TEST(Fit, EveryEndingReportsItsStatusAndTheRmseOfTheLayersItLeft) {
  TUnknownFlags depthsOnly, rho2Depth1;
  depthsOnly.DepthUnknown[1] = depthsOnly.DepthUnknown[2] = true;
  rho2Depth1.RhoUnknown[2] = rho2Depth1.DepthUnknown[1] = true;
  const struct {
    const char* Name;
    TSounding Sounding;
    TLayerModel Start;
    TUnknownFlags Unknowns;
    TFitStatus Status;
    int Evaluations;  // -1: not pinned
  } rows[] = {
      {"a start beyond e^20 ohm·m", Measured(ThreeLayers, Schlumberger), LayerModel({{137.3, 3.37}, {28.6, 17.9}, {6.1e8}}),
       AllUnknowns(3), TFitStatus::OutOfRange, 1},
      {"ln ρ = 19.9, whose Jacobian step is not admissible", Measured(ThreeLayers, Schlumberger, 0.02),
       LayerModel({{68.65, 1.685}, {57.2, 35.8}, {std::exp(19.9)}}), AllUnknowns(3), TFitStatus::OutOfRange, 1},
      // Flat data and a fixed top layer of the wrong resistivity: the fit thins that layer below e^-5 m.
      {"a trial step out of range", Measured(LayerModel({{51.3}}), Schlumberger), LayerModel({{4.7, 1.37}, {51.3}}),
       rho2Depth1, TFitStatus::OutOfRange, -1},
      // Layers of 1 ohm·m have a transform of 1 whatever their depths: a Jacobian of zeros.
      {"depths that do not move it", Measured(LayerModel({{3.7}}), Schlumberger), LayerModel({{1, 2.9}, {1, 8.3}, {1}}),
       depthsOnly, TFitStatus::NoSolution, -1},
  };
  for (const auto& row : rows) {
    TFit fit;
    fit.Run(row.Sounding, ThreeLayersStart, AllUnknowns(3), Schlumberger);  // an earlier fit's covariance
    const TFitResult& r = fit.Run(row.Sounding, row.Start, row.Unknowns, Schlumberger);
    EXPECT_EQ(r.Status, row.Status) << row.Name;
    EXPECT_TRUE(row.Evaluations < 0 || r.EvaluationCount == row.Evaluations) << row.Name << ": " << r.EvaluationCount;
    EXPECT_NEAR(r.Rmse, RmseOf(row.Sounding, r.Model, Schlumberger), 1e-12) << row.Name;
    for (int k = 1; k <= r.UnknownCount; ++k)
      for (int l = 1; l <= r.UnknownCount; ++l) {
        EXPECT_TRUE(std::isfinite(r.Covariance[k][l])) << row.Name;
        // Stopped at its start, before any decomposition: no figures rather than the earlier fit's.
        EXPECT_TRUE(row.Evaluations != 1 || r.Covariance[k][l] == 0) << row.Name;
      }
  }
}

TEST(Fit, RefusesTooManyUnknownsNoneAndASpacingWithoutALogarithmInThatOrder) {
  TSounding s = Measured(ThreeLayers, Schlumberger);
  EXPECT_EQ(FitRefusal(s, ThreeLayers, AllUnknowns(3)), "");
  EXPECT_EQ(FitRefusal(s, ThreeLayers, {}), "No  Unknown  Parameters  Specified  !");
  s.HalfSpacing[7] = 0;
  EXPECT_EQ(FitRefusal(s, ThreeLayers, AllUnknowns(3)), "Spacing of measurement 7 must be greater than 0!");
  s.MeasurementCount = 4;
  EXPECT_EQ(FitRefusal(s, ThreeLayers, AllUnknowns(3)), "Too  Many  Unknown  Parameters  !");
}

}  // namespace
