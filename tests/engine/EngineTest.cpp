// The engine: the forward model against its documented values and closed form, the decomposition
// of the fit's Jacobian, the fit's refusals, recovery of soundings, Jacobian and covariance against
// independent computations, every way a fit ends, and the statistics texts.
#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ResondixData.h"
#include "TestSupport.h"

namespace {

TResondixData Layers(bool schlumberger, std::vector<double> rho, std::vector<double> depths) {
  TResondixData d;
  d.SetSoundingType(schlumberger);
  d.LayerCount = static_cast<int>(rho.size());
  depths.push_back(HalfSpaceDepth);
  for (int i = 1; i <= d.LayerCount; ++i) d.LayerRho[i] = rho[i - 1], d.LayerDepth[i] = depths[i - 1];
  d.ComputeModelCurve();
  return d;
}

TEST(ForwardModel, DocumentedValuesOfTheCurveTable) {
  // 100 over 10 ohm·m below 10 m, to half a unit of the last digit shown.
  for (const auto& [schlumberger, node, value, halfLastDigit] :
       {std::tuple{true, 1, 99.97, 0.005}, {true, 7, 86.9, 0.05}, {true, 13, 10.35, 0.005}, {false, 1, 99.99, 0.005},
        {false, 4, 73.6, 0.05}, {false, 7, 10.30, 0.005}}) {
    const TResondixData d = Layers(schlumberger, {100, 10}, {10});
    EXPECT_NEAR(std::pow(10.0, d.CurveLogRho[node]), value, halfLastDigit + 1e-12) << node;
    EXPECT_NEAR(d.CurveLogSpacing[node], (node - 1.0) / (schlumberger ? 6 : 3), 1e-12);
  }
  // One layer: flat at ln(1e4·ρ)/2.3026 − 4 (the filters sum to 1e4), to
  // rounding. A resistivity of 0 sums to 0, which must keep the table finite.
  for (bool schlumberger : {true, false}) {
    const TResondixData d = Layers(schlumberger, {37.3}, {}), zero = Layers(schlumberger, {0}, {});
    for (int j = 1; j <= d.FilterCount + 2; ++j) {
      EXPECT_NEAR(d.CurveLogRho[j], std::log(1e4 * 37.3) / 2.3026 - 4, 1e-12) << j;
      EXPECT_TRUE(std::isfinite(zero.CurveLogRho[j]) && std::isfinite(zero.CurveNodeSlope[j])) << j;
    }
  }
}

TEST(ForwardModel, TransformMatchesTheClosedTwoLayerForm) {
  // T(1/λ) = ρ1 (1 + k e^(−2λh)) / (1 − k e^(−2λh)), k = (ρ2 − ρ1) / (ρ2 + ρ1).
  const TResondixData d = Layers(true, {83.7, 12.9}, {6.4});
  const double k = (12.9 - 83.7) / (12.9 + 83.7);
  for (double u : {0.05, 0.7, 3.0, 40.0, 900.0}) {
    const double e = std::exp(-2 * 6.4 / u);
    EXPECT_NEAR(d.ResistivityTransform(u), 83.7 * (1 + k * e) / (1 - k * e), 1e-9) << "u = " << u;
  }
}

TEST(ForwardModel, InterpolationHitsTheNodesJoinsSmoothlyAndGoesOnStraight) {
  const TResondixData d = Layers(false, {230, 41, 880, 17}, {2.7, 13.1, 61.0});
  const int last = d.FilterCount + 2;
  // Difference quotients over h = 1e-7 agree with the node slopes to about h
  // times the curvature.
  for (int j = 1; j <= last; ++j) {
    const double x = d.CurveLogSpacing[j], h = 1e-7;
    EXPECT_EQ(d.CurveLogRhoAt(x), d.CurveLogRho[j]) << "node " << j;
    EXPECT_NEAR((d.CurveLogRhoAt(x) - d.CurveLogRhoAt(x - h)) / h, d.CurveNodeSlope[j], 1e-5) << j;
    EXPECT_NEAR((d.CurveLogRhoAt(x + h) - d.CurveLogRhoAt(x)) / h, d.CurveNodeSlope[j], 1e-5) << j;
  }
  // Below 1 m and from the last node on: straight lines with the end slopes.
  EXPECT_NEAR(d.CurveLogRhoAt(-0.5), d.CurveLogRho[1] - 0.5 * d.CurveNodeSlope[1], 1e-12);
  EXPECT_NEAR(d.CurveLogRhoAt(d.CurveLogSpacing[last] + 1), d.CurveLogRho[last] + d.CurveNodeSlope[last], 1e-12);
  EXPECT_TRUE(std::isnan(d.CurveLogRhoAt(std::nan(""))));
}

// Orthonormality holds to a few hundred units of the last place; the sweeps
// stop at a superdiagonal below ε·‖J‖∞ (ε = 1e-10), so the product is off by
// about that much.
constexpr double RoundingTolerance = 1e-12;
constexpr double ProductTolerance = 10 * 1e-10;

// Decomposes a (m × n) in a document whose arrays hold stale values, checks what the optimiser
// relies on, and that `deficiency` singular values are negligible.
void ExpectDecomposition(const std::vector<std::vector<double>>& a, const std::string& what, int deficiency = 0) {
  TResondixData d;
  const int m = static_cast<int>(a.size()), n = static_cast<int>(a[0].size());
  d.SetMeasurementCount(m);
  d.UnknownCount = static_cast<std::uint8_t>(n);
  double norm = 0;  // ‖J‖∞, the largest absolute row sum
  for (int i = 1; i <= MaxMeasurements; ++i) {
    double sum = 0;
    for (int k = 1; k <= MaxUnknowns; ++k) d.Jacobian[i][k] = i <= m && k <= n ? a[i - 1][k - 1] : 7.25;
    for (int k = 1; k <= n && i <= m; ++k) sum += std::fabs(a[i - 1][k - 1]);
    norm = std::max(norm, sum);
  }
  for (int j = 1; j <= MaxUnknowns; ++j) d.RightVectors[j].Fill(-3.5);
  d.DecomposeJacobian();
  for (int i = 1; i <= m; ++i)
    for (int k = 1; k <= n; ++k) {
      double sum = 0;
      for (int j = 1; j <= n; ++j) sum += d.Jacobian[i][j] * d.SingularValues[j] * d.RightVectors[k][j];
      ASSERT_NEAR(sum, a[i - 1][k - 1], ProductTolerance * norm) << what << ": U·diag(w)·Vᵀ at " << i << "," << k;
    }
  for (int j = 1; j <= n; ++j)
    for (int k = 1; k <= n; ++k) {
      double u = 0, v = 0;
      for (int i = 1; i <= m; ++i) u += d.Jacobian[i][j] * d.Jacobian[i][k];
      for (int i = 1; i <= n; ++i) v += d.RightVectors[i][j] * d.RightVectors[i][k];
      ASSERT_NEAR(u, j == k, RoundingTolerance) << what << ": UᵀU at " << j << "," << k;
      ASSERT_NEAR(v, j == k, RoundingTolerance) << what << ": VᵀV at " << j << "," << k;
    }
  std::vector<double> w(&d.SingularValues[1], &d.SingularValues[1] + n);
  std::sort(w.begin(), w.end());
  EXPECT_GE(w[0], 0) << what;
  for (int k = 0; k < deficiency; ++k) EXPECT_LE(w[k], ProductTolerance * norm) << what;
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

using TVector = std::vector<double>;
using TModel = std::vector<std::pair<double, double>>;  // rho and bottom of each layer, the half-space last
const TModel ThreeLayers = {{137.3, 3.37}, {28.6, 17.9}, {412.9, 0}};
const TModel ThreeLayersStart = {{68.65, 1.685}, {57.2, 35.8}, {206.45, 0}};  // off by a factor of 2
const TModel FourLayers = {{63.1, 2.13}, {187.4, 6.71}, {24.3, 19.6}, {311.7, 0}};
const TModel FourLayersStart = {{126.2, 1.065}, {93.7, 13.42}, {48.6, 39.2}, {155.85, 0}};

// The apparent resistivities of truth at the default spacings (by the program's decimal logarithm,
// so that the truth fits to rounding) times e^(noise·sin(2.7 i)); then the start with its unknowns.
TResondixData Sounding(bool schlumberger, const TModel& truth, const TModel& start, double noise = 0,
                       std::vector<int> rhoUnknown = {1, 2, 3, 4}, std::vector<int> depthUnknown = {1, 2, 3}) {
  TResondixData d;
  d.SetSoundingType(schlumberger);
  for (const TModel* model : {&truth, &start}) {
    d.LayerCount = static_cast<int>(model->size());
    for (int i = 1; i <= d.LayerCount; ++i)
      d.LayerRho[i] = (*model)[i - 1].first, d.LayerDepth[i] = (*model)[i - 1].second;
    d.LayerDepth[d.LayerCount] = HalfSpaceDepth;
    d.ComputeModelCurve();
    for (int i = 1; model == &truth && i <= 15; ++i)
      d.ApparentRho[i] = std::exp(Ln10 * d.CurveLogRhoAt(DecimalLog(d.HalfSpacing[i])) + noise * std::sin(2.7 * i));
  }
  for (int i : rhoUnknown) d.RhoUnknown[i] = i <= d.LayerCount;
  for (int i : depthUnknown) d.DepthUnknown[i] = i < d.LayerCount;
  return d;
}

// The layers for log-parameters p in the fit's order: resistivities, then thicknesses.
TResondixData WithParameters(TResondixData d, const TVector& p) {
  std::size_t k = 0;
  for (int i = 1; i <= d.LayerCount; ++i)
    if (d.RhoUnknown[i]) d.LayerRho[i] = std::exp(p[k++]);
  for (int i = 1; i < d.LayerCount; ++i)
    if (d.DepthUnknown[i]) d.LayerDepth[i] = d.LayerDepth[i - 1] + std::exp(p[k++]);
  return d;
}

// r_i = ln(model) − ln(measured) with the layers as they stand; their RMSE in log10 units.
TVector ResidualsOf(TResondixData d) {
  d.ComputeModelCurve();
  TVector r;
  for (int i = 1; i <= d.MeasurementCount; ++i)
    r.push_back(2.3026 * d.CurveLogRhoAt(std::log(d.HalfSpacing[i]) / 2.3026) - std::log(d.ApparentRho[i]));
  return r;
}
double RmseOf(const TResondixData& d) {
  double sum = 0;
  for (double r : ResidualsOf(d)) sum += r * r / (2.3026 * 2.3026);
  return std::sqrt(sum / d.MeasurementCount);
}

TEST(Fit, RefusesWithoutTouchingTheDocument) {
  const struct {
    const char* Name;
    int Measurements, ZeroSpacing;  // a measurement given L/2 = 0, or 0
    std::vector<int> Unknowns;      // resistivities and depths
    const char* Message;
  } rows[] = {{"more unknowns than measurements", 4, 0, {1, 2, 3}, "Too  Many  Unknown  Parameters  !"},
              {"spacing 0", 15, 7, {1, 2, 3}, "Spacing of measurement 7 must be greater than 0!"},
              {"the count is refused first", 4, 2, {1, 2, 3}, "Too  Many  Unknown  Parameters  !"}};
  for (const auto& row : rows) {
    TResondixData d = Sounding(true, ThreeLayers, ThreeLayersStart, 0.02, row.Unknowns, row.Unknowns);
    d.SetMeasurementCount(row.Measurements);
    d.HalfSpacing[row.ZeroSpacing] = 0, d.Rmse = 0.123;
    // An earlier fit's unknowns, which its covariance belongs to.
    d.UnknownCount = 1, d.ParameterNames[1] = "Rho 2";
    const std::string before = Tables(d);
    d.OnChange = [](TResondixData&) { ADD_FAILURE() << "notified"; };
    TMessageRecorder recorder;
    FitSucceeded = true;
    const TFitOutcome outcome = d.Fit();
    EXPECT_TRUE(!outcome.Ran && outcome.Refusal == row.Message) << row.Name;
    EXPECT_EQ(recorder.Texts, std::vector<std::string>{row.Message}) << row.Name;
    EXPECT_TRUE(!FitSucceeded && Tables(d) == before && d.Saved && d.Rmse == 0.123) << row.Name;
    EXPECT_TRUE(d.UnknownCount == 1 && d.ParameterNames[1] == "Rho 2" && d.ParameterNames[2].empty()) << row.Name;
  }
}

TEST(Fit, RecoversNoiseFreeSoundingsInBothConfigurations) {
  for (const auto& [schlumberger, truth, start] :
       {std::tuple{true, ThreeLayers, ThreeLayersStart}, {false, FourLayers, FourLayersStart}}) {
    TResondixData d = Sounding(schlumberger, truth, start);
    ASSERT_GT(RmseOf(d), 0.05) << "the start must not fit already";
    d.Fit();
    EXPECT_TRUE(d.FitStatus == 0 && d.HasFitResult && !d.Saved);
    // The fit ends at a sum of squares of 0.005²: an RMSE of 0.005 / √15 / 2.3026 log units.
    EXPECT_LE(d.Rmse, 0.005 / std::sqrt(15.0) / 2.3026);
    EXPECT_NEAR(d.Rmse, RmseOf(d), 1e-12);
    // With a tolerance of 1e-10 it goes on to a residual norm near 1e-11: every value to 1e-6.
    d.AbsoluteTolerance = 1e-10;
    d.Optimise();
    for (int i = 1; i <= d.LayerCount; ++i) {
      EXPECT_NEAR(d.LayerRho[i], truth[i - 1].first, 1e-6 * d.LayerRho[i]) << "layer " << i;
      EXPECT_NEAR(d.LayerDepth[i], i < d.LayerCount ? truth[i - 1].second : HalfSpaceDepth, 1e-6 * d.LayerDepth[i]);
    }
  }
}

// The iteration's exact path on a noisy sounding from two poor starts: a
// change of the damping, the acceptance ratio, the tolerances or the step
// arithmetic moves these figures (each row catches a different set).
TEST(Fit, NoisySoundingsFollowTheirExactPaths) {
  const struct {
    const char* Name;
    TModel Start;
    int Evaluations;
    double Rho[3], Depth[2], Rmse;
  } rows[] = {
      {"thin resistive start", {{34.325, 0.8425}, {114.4, 4.475}, {2448, 0}}, 22,
       {137.4242460987399, 28.701040455110274, 1075.8358031252731}, {3.3667936190391869, 18.441121546468707},
       0.011955711363370388},
      {"thick conductive start", {{549.2, 13.48}, {7.15, 71.6}, {153, 0}}, 24,
       {137.44240059165182, 28.769725587536833, 1194.8653951023582}, {3.3638549633179715, 18.55548413455427},
       0.011952825372814741},
  };
  const TModel truth = {{137.3, 3.37}, {28.6, 17.9}, {612, 0}};
  for (const auto& row : rows) {
    TResondixData d = Sounding(true, truth, row.Start, 0.04);
    const TFitOutcome outcome = d.Fit();
    EXPECT_TRUE(outcome.Ran && outcome.Status == 0 && d.FitStatus == 0) << row.Name;
    EXPECT_EQ(d.EvaluationCount, row.Evaluations) << row.Name;
    for (int i = 1; i <= 3; ++i) EXPECT_NEAR(d.LayerRho[i], row.Rho[i - 1], 1e-9) << row.Name << ", layer " << i;
    for (int i = 1; i <= 2; ++i) EXPECT_NEAR(d.LayerDepth[i], row.Depth[i - 1], 1e-9) << row.Name << ", layer " << i;
    EXPECT_NEAR(d.Rmse, row.Rmse, 1e-12) << row.Name;
  }
}

TEST(Fit, JacobianAgreesWithCentralDifferencesAlsoAtAParameterOfMinusOneTenThousandth) {
  TResondixData d = Sounding(true, FourLayers, FourLayersStart, 0.03);
  d.Fit();                    // collects the unknowns and their log-parameters
  d.Parameters[2] = -0.0001;  // ρ2 ≈ 1: 1.01·p + 1e-6 = p, the fit steps by 1e-6 instead
  ASSERT_EQ(1.01 * d.Parameters[2] + 1e-6, d.Parameters[2]);
  ASSERT_TRUE(d.ApplyParameters());
  const TVector p(&d.Parameters[1], &d.Parameters[1] + d.UnknownCount);
  d.ComputeJacobian();
  for (std::size_t k = 0; k < p.size(); ++k) {
    TVector up = p, down = p;
    up[k] += 1e-5, down[k] -= 1e-5;
    const TVector r1 = ResidualsOf(WithParameters(d, up)), r0 = ResidualsOf(WithParameters(d, down));
    // The fit's forward step of 1 % of p (up to 0.06) is off by half of it times the curvature.
    for (int i = 1; i <= d.MeasurementCount; ++i)
      EXPECT_NEAR(d.Jacobian[i][int(k) + 1], (r1[i - 1] - r0[i - 1]) / 2e-5, 0.03) << i << "," << k + 1;
  }
}

TEST(Fit, CovarianceInvertsTheNormalMatrixAndTheStatisticsFollowFromIt) {
  for (bool schlumberger : {true, false}) {
    TResondixData d = Sounding(schlumberger, ThreeLayers, ThreeLayersStart, 0.04);
    d.Fit();
    // Fitting again from the converged model takes one iteration, whose
    // covariance belongs to the Jacobian at this point.
    TResondixData at = d;
    at.ComputeJacobian();
    d.Fit();
    ASSERT_TRUE(d.FitStatus == 0 && d.EvaluationCount == 2);
    const int n = d.UnknownCount;
    const auto& c = d.Covariance();
    for (int k = 1; k <= n; ++k) {
      for (int l = 1; l <= n; ++l) {
        double product = 0;  // (JᵀJ)·C = I, to ε and rounding
        for (int m = 1; m <= n; ++m)
          for (int i = 1; i <= 15; ++i) product += at.Jacobian[i][k] * at.Jacobian[i][m] * c[m][l];
        EXPECT_NEAR(product, k == l, 1e-6) << k << "," << l;
      }
      // The upper bound e^(p + σ), σ = √C[k][k] · √(SS / (M − n)).
      const double sigma = std::sqrt(c[k][k]) * d.ResidualNorm / std::sqrt(15 - n);
      EXPECT_NEAR(d.ParameterUpper[k], std::exp(d.Parameters[k] + sigma), 1e-9 * d.ParameterUpper[k]) << k;
    }
  }
}

TEST(Fit, EveryEndingReportsItsStatusAndTheRmseOfTheLayersItLeft) {
  struct {
    const char* Name;
    TResondixData Document;
    int Status, Evaluations;  // -1: not pinned
  } rows[] = {
      // The data want the first interface at 11.6 m, the fixed second one is at 7.4 m: the
      // layers it leaves are refused by the value rules, so it did not converge.
      {"a depth stopped by the fixed depth below", Sounding(true, {{94.3, 11.6}, {12.7, 26.2}, {233.1, 0}},
       {{94.3, 4.1}, {12.7, 7.4}, {233.1, 0}}, 0, {1, 2, 3}, {1}), 2, -1},
      {"a start beyond e^20 ohm·m", Sounding(true, ThreeLayers, {{137.3, 3.37}, {28.6, 17.9}, {6.1e8, 0}}), 2, 1},
      {"ln ρ = 19.9, whose Jacobian step is not admissible",
       Sounding(true, ThreeLayers, {{68.65, 1.685}, {57.2, 35.8}, {std::exp(19.9), 0}}, 0.02), 2, 1},
      // Flat data and a fixed top layer of the wrong resistivity: the fit thins that layer below e^-5 m.
      {"a trial step out of range", Sounding(true, {{51.3, 0}}, {{4.7, 1.37}, {51.3, 0}}, 0, {2}, {1}), 2, -1},
      // Layers of 1 ohm·m have a transform of 1 whatever their depths: a Jacobian of zeros.
      {"depths that do not move it", Sounding(true, {{3.7, 0}}, {{1, 2.9}, {1, 8.3}, {1, 0}}, 0, {}, {1, 2}), 1, -1},
  };
  for (auto& row : rows) {
    TResondixData& d = row.Document;
    TMessageRecorder recorder;
    d.Covariance()[1][1] = d.Covariance()[2][2] = d.Covariance()[1][2] = 4;  // an earlier fit's
    d.Fit();
    EXPECT_EQ(d.FitStatus, row.Status) << row.Name;
    EXPECT_TRUE(row.Evaluations < 0 || d.EvaluationCount == row.Evaluations) << row.Name << ": " << d.EvaluationCount;
    EXPECT_NEAR(d.Rmse, RmseOf(d), 1e-12) << row.Name;
    const std::string stopped = "The fit stopped: a parameter left its admissible range.";
    EXPECT_EQ(recorder.Texts, std::vector<std::string>(row.Status == 2, &row == rows ? stopped +
              "\nThe depth of layer 1 is refused: Value must be between 0.00 and 7.40!" : stopped)) << row.Name;
    for (int k = 1; k <= d.UnknownCount; ++k)
      for (int l = 1; l <= d.UnknownCount; ++l) EXPECT_TRUE(std::isfinite(d.Covariance()[k][l])) << row.Name;
    // Stopped at its start, before any decomposition: no figures rather than the earlier fit's.
    EXPECT_TRUE(row.Evaluations != 1 || d.CorrelationText(2, 1) + d.CorrelationText(1, 1) == "") << row.Name;
  }
  EXPECT_EQ(rows[0].Document.LayerDepth[1], 7.4);
  EXPECT_EQ(rows[0].Document.Parameters[4], std::log(7.4));  // rewritten to the depth it stopped at
  EXPECT_LT(rows[3].Document.Parameters[2], -5);
}

// A converged fit of the unknowns Rho 1, Rho 3 and Depth 2 (below a top at
// 4 m) with these log-parameters, standard errors and fitted values; with 7
// measurements a residual norm of 2 is a residual scale √(4 / (7 − 3)) = 1.
TResondixData Statistics(const double (&p)[3], const double (&sigma)[3], const double (&fitted)[3]) {
  TResondixData d;
  d.LayerRho[1] = fitted[0], d.LayerRho[3] = fitted[1], d.LayerDepth[2] = fitted[2], d.LayerDepth[1] = 4;
  d.RhoUnknown[1] = d.RhoUnknown[3] = d.DepthUnknown[2] = true;
  d.SetMeasurementCount(7);
  d.UnknownCount = 3, d.ResidualNorm = 2;
  for (int k = 1; k <= 3; ++k) d.Parameters[k] = p[k - 1], d.Covariance()[k][k] = sigma[k - 1] * sigma[k - 1];
  d.ComputeFitStatistics();
  return d;
}

TEST(FitStatistics, PercentagesAndIntervalsInTheOrderOfTheUnknownsWhileADegreeOfFreedomIsLeft) {
  double tie = std::log(2.5) + 0.1875;  // a parameter whose lower bound is exactly 2.5
  for (int step = 0; step < 200 && std::exp(tie - 0.1875) != 2.5; ++step)
    tie = std::nextafter(tie, std::exp(tie - 0.1875) < 2.5 ? HUGE_VAL : 0.0);
  const struct {
    const char* Name;
    double P, Sigma, Fitted;  // the fitted value the widening compares with
    const char* Percent;
    const char* Interval;
  } rows[] = {
      // σ = 0: 100.5 − 100 = 0.5, a tie, rounds to the even 0.
      {"no uncertainty", std::log(137.3), 0, 137.3, "  0%", "137 - 138"},
      // Bounds 5.1 and 5.4 both round to 5, not above 5.3: the upper widens to 6.
      {"example 5.1 to 5.4", std::log(std::sqrt(5.1 * 5.4)), std::log(5.4 / 5.1) / 2, 5.3, "  3%", "5 - 6"},
      {"a lower bound of exactly 2.5 rounds to the even 2", tie, 0.1875, 3.0, " 18%", "2 - 4"},
      {"sigma 3 still has bounds", std::log(80.0), 3.0, 80, " 96%", "4 - 1607"},
      {"sigma above 3", std::log(80.0), 3.01, 80, " 96%", "very large"},
      {"an upper bound e^21.85 beyond 32 bits", 18.9, 2.95, std::exp(18.9), " 95%", "8452730 - 3085563081"},
      {"an interval of 21 characters", 19.5, 2.5, std::exp(19.5), " 92%", "very large"},
  };
  for (const auto& row : rows) {  // the value as Rho 1 and as the thickness of layer 2
    const TResondixData d = Statistics({row.P, 0, row.P}, {row.Sigma, 0, row.Sigma}, {row.Fitted, 1, row.Fitted + 4});
    EXPECT_EQ(d.RhoPercentText[1], row.Percent) << row.Name;
    EXPECT_EQ(d.DepthPercentText[2], row.Percent) << row.Name;
    EXPECT_EQ(d.RhoIntervalText[1], row.Interval) << row.Name;
    EXPECT_EQ(d.RhoPercentText[2].str() + d.DepthIntervalText[1].str(), "  *   * ") << row.Name;  // fixed values
  }
  // The unknowns in their order: Rho 1, Rho 3, Depth 2.
  const TResondixData ordered = Statistics({std::log(40), std::log(9), 0}, {0.01, 0.2, 3.5}, {40, 9, 5});
  EXPECT_EQ(ordered.RhoPercentText[1].str() + ordered.RhoPercentText[3].str() + ordered.DepthPercentText[2].str(),
            "  1% 19% 97%");
  EXPECT_EQ(ordered.RhoIntervalText[3], "7 - 11");
  EXPECT_EQ(ordered.ParameterLower[3], 1.7e308);  // beyond σ = 3: the marker
  // A depth's interval is that of its bottom: 19.9 to 20.2 m thick below 4 m is 23.9 to 24.2 m, both
  // 24, above the fitted 23.6: the lower widens.
  EXPECT_EQ(Statistics({0, 0, std::log(19.9 * 20.2) / 2}, {0, 0, std::log(20.2 / 19.9) / 2}, {1, 1, 23.6})
                .DepthIntervalText[2], "23 - 24");
  // Without a degree of freedom every text is the placeholder.
  TResondixData none = ordered;
  none.SetMeasurementCount(3);
  none.ComputeFitStatistics();
  const TResondixData fresh;
  EXPECT_TRUE(none.RhoPercentText == fresh.RhoPercentText && none.RhoIntervalText == fresh.RhoIntervalText);
  EXPECT_TRUE(none.DepthPercentText == fresh.DepthPercentText && none.DepthIntervalText == fresh.DepthIntervalText);
}

TEST(FitStatistics, CorrelationCells) {
  TResondixData d;
  d.UnknownCount = 4;
  auto& c = d.Covariance();
  c[1][1] = 4, c[2][2] = 1, c[3][3] = 0, c[4][4] = 2.25;  // the third variance is 0
  c[2][1] = c[1][2] = -0.25;   // r = −12.5 %: a tie, to the even −12
  c[4][1] = c[1][4] = 1.2;     // r = 40 %
  c[4][2] = c[2][4] = -0.003;  // r = −0.2 %: rounds to 0, shown without sign
  c[3][1] = c[1][3] = 0.5;
  const char* cells[4][4] = {
      {"100%", "", "", ""}, {"-12%", "100%", "", ""}, {"", "", "", ""}, {"40%", "0%", "", "100%"}};
  for (int k = 1; k <= 4; ++k)
    for (int j = 1; j <= 4; ++j) EXPECT_EQ(d.CorrelationText(k, j), cells[k - 1][j - 1]) << k << "," << j;
}

}  // namespace
