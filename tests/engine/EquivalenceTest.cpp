// Equivalence and Dar Zarrouk figures against the physics of soundings: a
// thin conductive layer is fixed only by its conductance S = h/ρ, a thin
// resistive one only by its transverse resistance T = h·ρ, and a
// well-resolved model has ranges that agree with the fit's own intervals.
#include <cmath>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "engine/Equivalence.h"
#include "engine/FitStatistics.h"
#include "tests/engine/EngineTestSupport.h"

namespace {

// Fifteen spacings from 1.5 m to 1000 m, so that the curves reach the
// half-space of every model below.
constexpr double WideSpacings[15] = {1.5, 2.5, 4, 6, 10, 15, 25, 40, 60, 100, 150, 250, 400, 600, 1000};

const TCurveSettings Schlumberger;

// A sounding of the model at the wide spacings with every value an unknown.
struct TCase {
  TSounding Sounding;
  TLayerModel Model;
  TUnknownFlags Unknowns;
};

TCase Case(const TLayerModel& truth, double noise = 0) {
  return {Measured(truth, Schlumberger, noise, WideSpacings), truth, AllUnknowns(truth.LayerCount)};
}

// The analysis lives on the heap: it holds a few hundred models.
std::unique_ptr<TEquivalence> Analyse(const TCase& c, TEquivalenceTolerance tolerance = {}) {
  auto result = std::make_unique<TEquivalence>();
  AnalyseEquivalence(c.Sounding, c.Model, c.Unknowns, Schlumberger, tolerance, *result);
  return result;
}

const TParameterRange& Parameter(const TEquivalence& e, bool isDepth, int layer) {
  for (int k = 1; k <= e.ParameterCount; ++k)
    if (e.Parameters[k].IsDepth == isDepth && e.Parameters[k].Layer == layer) return e.Parameters[k];
  ADD_FAILURE() << "no parameter " << (isDepth ? "depth " : "rho ") << layer;
  return e.Parameters[1];
}

double Ratio(const TValueRange& range) { return range.Upper / range.Lower; }

TEST(DarZarrouk, FiguresOfAKnownModel) {
  // 4 m of 50 ohm·m over 6 m of 200 ohm·m over 15 m of 8 ohm·m; the
  // half-space plays no part.
  TLayerModel model = LayerModel({{50, 4}, {200, 10}, {8, 25}, {3000}});
  const TDarZarrouk z = DarZarroukOf(model);
  ASSERT_EQ(z.LayerCount, 3);
  const double expected[3][3] = {{4, 0.08, 200}, {6, 0.03, 1200}, {15, 1.875, 120}};
  for (int i = 1; i <= 3; ++i) {
    EXPECT_DOUBLE_EQ(z.Layers[i].Thickness, expected[i - 1][0]) << i;
    EXPECT_DOUBLE_EQ(z.Layers[i].S, expected[i - 1][1]) << i;
    EXPECT_DOUBLE_EQ(z.Layers[i].T, expected[i - 1][2]) << i;
  }
  // H = 25 m, S = 1.985 S, T = 1520 ohm·m²; ρL = 25/1.985, ρT = 1520/25 = 60.8,
  // λ = √(60.8·1.985/25) = √4.82752.
  EXPECT_DOUBLE_EQ(z.Thickness, 25);
  EXPECT_DOUBLE_EQ(z.S, 1.985);
  EXPECT_DOUBLE_EQ(z.T, 1520);
  EXPECT_DOUBLE_EQ(z.LongitudinalRho, 12.594458438287154);
  EXPECT_DOUBLE_EQ(z.TransverseRho, 60.8);
  EXPECT_DOUBLE_EQ(z.Anisotropy, 2.1971618056028555);
  // A single layer has no cover: no mean resistivities.
  model.LayerCount = 1;
  const TDarZarrouk half = DarZarroukOf(model);
  EXPECT_TRUE(half.LayerCount == 0 && half.Thickness == 0 && std::isnan(half.LongitudinalRho) &&
              std::isnan(half.Anisotropy));
}

TEST(Equivalence, AThinConductiveLayerIsFixedOnlyByItsConductance) {
  // H type: 3 m of 10 ohm·m between 100 and 1000 ohm·m, S2 = 0.3 siemens.
  const auto e = Analyse(Case(LayerModel({{100, 10}, {10, 13}, {1000}})));
  const TParameterRange& rho2 = Parameter(*e, false, 2);
  EXPECT_GE(Ratio(rho2.Range), 2) << rho2.Range.Lower << " to " << rho2.Range.Upper;
  EXPECT_GE(Ratio(e->ThicknessRange[2]), 2) << e->ThicknessRange[2].Lower << " to " << e->ThicknessRange[2].Upper;
  EXPECT_GE(e->SRange[2].Lower, 0.3 * 0.9);
  EXPECT_LE(e->SRange[2].Upper, 0.3 * 1.1);
  // T2 is not fixed at all: it follows ρ2 and h2.
  EXPECT_GE(Ratio(e->TRange[2]), 4);
}

TEST(Equivalence, AThinResistiveLayerIsFixedOnlyByItsTransverseResistance) {
  // K type: 2 m of 500 ohm·m between 10 ohm·m layers, T2 = 1000 ohm·m².
  const auto e = Analyse(Case(LayerModel({{10, 10}, {500, 12}, {10}})));
  EXPECT_GE(Ratio(Parameter(*e, false, 2).Range), 2);
  EXPECT_GE(Ratio(e->ThicknessRange[2]), 2);
  EXPECT_GE(e->TRange[2].Lower, 1000 * 0.9);
  EXPECT_LE(e->TRange[2].Upper, 1000 * 1.1);
  EXPECT_GE(Ratio(e->SRange[2]), 4);
}

TEST(Equivalence, AWellResolvedModelHasTheFitsIntervals) {
  // Two layers with noise, fitted: rms noise 0.03 / √2 in ln units.
  TCase c = Case(LayerModel({{137.3, 7.9}, {23.1}}), 0.03);
  TFit fit;
  const TFitResult fitted = fit.Run(c.Sounding, LayerModel({{100, 5}, {40}}), c.Unknowns, Schlumberger);
  ASSERT_EQ(fitted.Status, TFitStatus::Converged);
  c.Model = fitted.Model;
  const TUncertainties u = ComputeUncertainties(fitted, 15);
  // Near a minimum, the sum of squares grows by the square of the offset
  // over the variance: with SS at most (1 + 1/(M − n))·SS, a profile reaches
  // exactly the fit's one-standard-error interval exp(p ± σ).
  const double relative = std::sqrt(1 + 1.0 / (15 - 3)) - 1;
  const auto e = Analyse(c, {relative, 0});
  ASSERT_EQ(e->ParameterCount, 3);
  EXPECT_NEAR(e->Rmse, fitted.Rmse, 1e-12);
  for (int k = 1; k <= 3; ++k) {
    const TParameterRange& p = e->Parameters[k];
    SCOPED_TRACE(k);
    EXPECT_TRUE(p.IsDepth == fitted.Unknowns[k].IsDepth && p.Layer == fitted.Unknowns[k].Layer);
    ASSERT_TRUE(p.Range.Lower < p.Value && p.Value < p.Range.Upper);
    EXPECT_FALSE(p.LowerOpen || p.UpperOpen);
    // The grid's 2.7 % steps and the curvature of the model keep the
    // profile within a fifth of σ of the linear interval.
    const double sigma = std::log(u.Upper[k] / u.Lower[k]) / 2;
    EXPECT_NEAR(std::log(p.Value / p.Range.Lower), sigma, 0.2 * sigma + 0.027);
    EXPECT_NEAR(std::log(p.Range.Upper / p.Value), sigma, 0.2 * sigma + 0.027);
  }
  // With the default tolerance the ranges are wider but still closed and
  // around the fitted values.
  const auto wide = Analyse(c);
  for (int k = 1; k <= 3; ++k) {
    const TParameterRange& p = wide->Parameters[k];
    EXPECT_TRUE(p.Range.Lower <= e->Parameters[k].Range.Lower && p.Range.Upper >= e->Parameters[k].Range.Upper);
    EXPECT_FALSE(p.LowerOpen || p.UpperOpen) << k;
  }
}

TEST(Equivalence, ToleranceZeroGivesTheFittedPoint) {
  const auto e = Analyse(Case(LayerModel({{100, 10}, {10, 13}, {1000}})), {0, 0});
  EXPECT_EQ(e->ParameterCount, 5);
  EXPECT_EQ(e->ModelCount, 0);
  for (int k = 1; k <= e->ParameterCount; ++k) {
    const TParameterRange& p = e->Parameters[k];
    EXPECT_TRUE(p.Range.Lower == p.Value && p.Range.Upper == p.Value && !p.LowerOpen && !p.UpperOpen) << k;
  }
  for (int i = 1; i <= 2; ++i)
    EXPECT_TRUE(e->SRange[i].Lower == e->DarZarrouk.Layers[i].S && e->SRange[i].Upper == e->DarZarrouk.Layers[i].S);
}

TEST(Equivalence, IsRepeatableAndKeepsAFixedInterfaceAndTheOrder) {
  TCase c = Case(LayerModel({{100, 10}, {10, 13}, {1000}}));
  c.Unknowns.DepthUnknown[1] = false;  // the first interface fixed: depth 2 may not rise above it
  const auto first = Analyse(c), second = Analyse(c);
  ASSERT_EQ(first->ModelCount, second->ModelCount);
  EXPECT_GT(first->ModelCount, 0);
  for (int m = 1; m <= first->ModelCount; ++m) {
    EXPECT_TRUE(first->Models[m] == second->Models[m]);
    // Every equivalent model keeps the fixed interface and its order.
    EXPECT_EQ(first->Models[m].LayerDepth[1], 10);
    EXPECT_GT(first->Models[m].LayerDepth[2], 10);
  }
  // The held depth may come down to the fixed one, never onto it.
  EXPECT_GT(Parameter(*first, true, 2).Range.Lower, 10);
}

TEST(Equivalence, AValueTheDataCannotSeeRangesOverTheWholeGrid) {
  // A half-space 2 km down under soundings that reach 40 m: its resistivity
  // is equivalent from one end of the grid (three decades each way) to the
  // other, and both walks end open there.
  const TLayerModel model = LayerModel({{100, 2000}, {500}});
  TCase c{Measured(model, Schlumberger), model, AllUnknowns(2)};
  c.Unknowns.DepthUnknown[1] = false;
  const auto e = Analyse(c);
  const TParameterRange& rho2 = Parameter(*e, false, 2);
  EXPECT_TRUE(rho2.LowerOpen && rho2.UpperOpen);
  EXPECT_NEAR(std::log10(rho2.Range.Upper / 500), ProfileGridDecades, 1e-3);
  EXPECT_NEAR(std::log10(500 / rho2.Range.Lower), ProfileGridDecades, 1e-3);
  // The top layer is what the data do see.
  const TParameterRange& rho1 = Parameter(*e, false, 1);
  EXPECT_FALSE(rho1.LowerOpen || rho1.UpperOpen);
  EXPECT_LT(Ratio(rho1.Range), 1.1);
}

}  // namespace
