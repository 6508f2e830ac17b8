// Interpretation without a starting model: the smooth model against the
// physics of the earths it comes from, the automatic model against a wide
// search of starting models, and what the diagnostics say of a fit.
#include <algorithm>
#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include "engine/AutomaticModel.h"
#include "engine/FitStatistics.h"
#include "engine/SmoothInversion.h"
#include "tests/engine/EngineTestSupport.h"

namespace {

const TCurveSettings Schlumberger{true, TForwardModel::Filter};
const TCurveSettings WennerAccurate{false, TForwardModel::Accurate};

// Fifteen spacings from 1.5 m to longest, evenly in log.
TSounding MeasuredTo(double longest, const TLayerModel& truth, const TCurveSettings& curve, double noise) {
  double spacings[MaxMeasurements];
  for (int i = 0; i < MaxMeasurements; ++i) spacings[i] = 1.5 * std::pow(longest / 1.5, i / 14.0);
  return Measured(truth, curve, noise, spacings);
}

TEST(TransformSlopes, AgreeWithCentralDifferencesInEveryLayer) {
  TResistivityProfile earth;
  earth.LayerCount = 5;
  const double rho[] = {0, 80, 7, 900, 30, 250}, depth[] = {0, 1.2, 3.5, 9, 40, HalfSpaceDepth};
  for (int i = 1; i <= 5; ++i) earth.LayerRho[i] = rho[i], earth.LayerDepth[i] = depth[i];
  for (double u : {0.05, 0.8, 6.0, 70.0, 2000.0}) {
    TLayerSlopes slopes;
    const double t = TResistivityTransform(earth).WithSlopes(u, slopes);
    EXPECT_EQ(t, TResistivityTransform(earth)(u));
    for (int i = 1; i <= 5; ++i) {
      TResistivityProfile up = earth, down = earth;
      up.LayerRho[i] *= std::exp(1e-6), down.LayerRho[i] *= std::exp(-1e-6);
      const double difference = (TResistivityTransform(up)(u) - TResistivityTransform(down)(u)) / 2e-6;
      EXPECT_NEAR(slopes[i], difference, 1e-6 * t) << "u = " << u << ", layer " << i;
    }
  }
}

TEST(SmoothInversion, AnHTypeSoundingHasItsMinimumInsideTheConductorAndFitsToTheErrorLevel) {
  const TLayerModel truth = LayerModel({{120, 2.5}, {15, 9}, {400}});
  for (const TCurveSettings& curve : {Schlumberger, WennerAccurate}) {
    TSmoothInversion inversion;
    const TSmoothModel& smooth = inversion.Run(Measured(truth, curve, 0.02), curve);
    EXPECT_TRUE(smooth.ReachedErrorLevel()) << smooth.Rmse << " for " << smooth.TargetRmse;
    const TResistivityProfile& cells = smooth.Profile;
    int lowest = 1;
    for (int i = 2; i <= cells.LayerCount; ++i)
      if (cells.LayerRho[i] < cells.LayerRho[lowest]) lowest = i;
    const double middle = std::sqrt(cells.LayerDepth[lowest - 1] * cells.LayerDepth[lowest]);
    EXPECT_TRUE(middle > 2.5 && middle < 9) << "minimum of " << cells.LayerRho[lowest] << " at " << middle << " m";
    EXPECT_LT(cells.LayerRho[lowest], 0.5 * cells.LayerRho[1]);
  }
}

TEST(SmoothInversion, AHomogeneousEarthGivesAFlatModel) {
  for (const TCurveSettings& curve : {Schlumberger, WennerAccurate}) {
    TSmoothInversion inversion;
    const TResistivityProfile& cells = inversion.Run(Measured(LayerModel({{50}}), curve), curve).Profile;
    for (int i = 1; i <= cells.LayerCount; ++i) EXPECT_NEAR(std::log(cells.LayerRho[i] / 50), 0, 0.01) << i;
  }
}

TEST(SmoothInversion, TheDepthOfInvestigationGrowsWithTheLongestSpacing) {
  const TLayerModel truth = LayerModel({{50, 2}, {500, 8}, {20}});
  double previous = 0;
  for (double longest : {40.0, 200.0, 1000.0}) {
    TSmoothInversion inversion;
    const double doi = inversion.Run(MeasuredTo(longest, truth, Schlumberger, 0.02), Schlumberger).DepthOfInvestigation;
    EXPECT_GT(doi, 1.2 * previous) << longest;
    EXPECT_TRUE(doi > 0.3 * longest && doi < 2 * longest) << doi << " m for " << longest << " m";
    previous = doi;
  }
}

// The lowest RMSE of the fit from every starting model of a grid: each
// resistivity a decade, a third of one, or none below or above the geometric
// mean of the apparent resistivities, the interfaces from 1 to 30 m.
double WideSearchRmse(const TSounding& s, const TCurveSettings& curve, int layers) {
  double mean = 0;
  for (int j = 1; j <= s.MeasurementCount; ++j) mean += std::log(s.ApparentRho[j]) / s.MeasurementCount;
  const double decades[] = {-1, -1.0 / 3, 0, 1.0 / 3, 1};
  const double depths[] = {1, 3, 10, 30};
  double best = INFINITY;
  TFit fit;
  TLayerModel start = LayerModel({{1, 1}, {1, 2}, {1}});
  start.LayerCount = layers;
  start.LayerDepth[layers] = HalfSpaceDepth;
  const int rhoStarts = layers == 2 ? 25 : 125;
  for (int r = 0; r < rhoStarts; ++r)
    for (int a = 0; a < 4; ++a)
      for (int b = layers == 2 ? 0 : a + 1; b < 4; ++b) {
        for (int i = 1, code = r; i <= layers; ++i, code /= 5) start.LayerRho[i] = std::exp(mean + Ln10 * decades[code % 5]);
        start.LayerDepth[1] = depths[a];
        if (layers == 3) start.LayerDepth[2] = depths[b];
        const TFitResult& result = fit.Run(s, start, AllUnknowns(layers), curve);
        if (result.Status == TFitStatus::Converged && IsOrdered(result.Model)) best = std::min(best, result.Rmse);
      }
  return best;
}

TEST(AutomaticModel, ReachesTheRmseOfAWideSearchAndChoosesTheTrueLayerCount) {
  const struct {
    const char* Name;
    TLayerModel Truth;
    TCurveSettings Curve;
  } rows[] = {
      {"H", LayerModel({{120, 2.5}, {15, 9}, {400}}), Schlumberger},
      {"K", LayerModel({{40, 1.8}, {600, 6}, {25}}), Schlumberger},
      {"A", LayerModel({{20, 2}, {90, 10}, {800}}), Schlumberger},
      {"Q", LayerModel({{900, 1.5}, {150, 8}, {12}}), {false, TForwardModel::Filter}},
      {"two layers", LayerModel({{250, 4}, {30}}), Schlumberger},
  };
  for (const auto& row : rows) {
    const TSounding s = Measured(row.Truth, row.Curve, 0.03);
    const int layers = row.Truth.LayerCount;
    TAutomaticModelSearch search;
    const TAutomaticModel& given = search.Run(s, row.Curve, layers);
    EXPECT_EQ(given.Fit.Status, TFitStatus::Converged) << row.Name;
    EXPECT_TRUE(IsOrdered(given.Fit.Model)) << row.Name;
    EXPECT_LE(given.Fit.Rmse, 1.02 * WideSearchRmse(s, row.Curve, layers)) << row.Name;
    EXPECT_EQ(search.Run(s, row.Curve, 0).LayerCount, layers) << row.Name;
  }
}

TEST(FitDiagnostics, AHopelessStartIsPoorAndUnresolvedAndTheMisfitFollowsTheCurve) {
  const TSounding s = Measured(LayerModel({{150, 3}, {30, 20}, {500}}), Schlumberger, 0.02);
  const TLayerModel hopeless = LayerModel({{100000, 0.1}, {0.1, 5000}, {100000}});
  TFit fit;
  const TFitResult& result = fit.Run(s, hopeless, AllUnknowns(3), Schlumberger);
  ASSERT_EQ(result.Status, TFitStatus::Converged) << "the fit says it converged";
  const TUncertainties uncertainties = ComputeUncertainties(result, s.MeasurementCount);
  const TFitDiagnostics d = DiagnoseFit(s, result.Model, Schlumberger, result, &uncertainties);
  EXPECT_TRUE(d.Poor) << d.AverageMisfitPercent;
  EXPECT_GT(d.UnresolvedCount, 0);
  TModelCurve curve;
  curve.Compute(result.Model, Schlumberger);
  ASSERT_EQ(d.MeasurementCount, 15);
  for (int i = 1; i <= 15; ++i)
    EXPECT_NEAR(d.MisfitPercent[i], 100 * (curve.ModelApparentRho(s.HalfSpacing[i]) / s.ApparentRho[i] - 1), 1e-9) << i;

  // The automatic model of the same sounding fits to its noise.
  TAutomaticModelSearch search;
  const TAutomaticModel& automatic = search.Run(s, Schlumberger, 3);
  EXPECT_FALSE(DiagnoseFit(s, automatic.Fit.Model, Schlumberger, automatic.Fit, nullptr).Poor);
}

}  // namespace
