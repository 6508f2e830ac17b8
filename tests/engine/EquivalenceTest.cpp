// Equivalence and Dar Zarrouk figures against the physics of soundings: a
// thin conductive layer is fixed only by its conductance S = h/ρ, a thin
// resistive one only by its transverse resistance T = h·ρ, and a
// well-resolved model has ranges that agree with the fit's own intervals.
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/Equivalence.h"
#include "ResondixData.h"
#include "TestSupport.h"

namespace {

// Fifteen spacings from 1.5 m to 1000 m, so that the curves reach the
// half-space of every model below.
constexpr double WideSpacings[15] = {1.5, 2.5, 4, 6, 10, 15, 25, 40, 60, 100, 150, 250, 400, 600, 1000};

// Measurements of the model (resistivities, bottom depths above the
// half-space) computed with the program's own curve, times e^(noise·sin(2.7 i));
// every value an unknown.
TResondixData Sounding(const std::vector<double>& rho, const std::vector<double>& depths, double noise = 0) {
  TResondixData d;
  d.LayerCount = static_cast<int>(rho.size());
  for (int i = 1; i <= d.LayerCount; ++i) {
    d.LayerRho[i] = rho[i - 1];
    d.LayerDepth[i] = i < d.LayerCount ? depths[i - 1] : HalfSpaceDepth;
    d.RhoUnknown[i] = true;
    d.DepthUnknown[i] = i < d.LayerCount;
  }
  for (int i = 1; i <= 15; ++i) d.HalfSpacing[i] = WideSpacings[i - 1];
  d.ComputeModelCurve();
  for (int i = 1; i <= 15; ++i)
    d.ApparentRho[i] = std::exp(Ln10 * d.CurveLogRhoAt(DecimalLog(d.HalfSpacing[i])) + noise * std::sin(2.7 * i));
  return d;
}

// The analysis lives on the heap: it holds a few hundred models.
std::unique_ptr<TEquivalence> Analyse(const TResondixData& d, TEquivalenceTolerance tolerance = {}) {
  auto result = std::make_unique<TEquivalence>();
  EXPECT_TRUE(AnalyseEquivalence(d, tolerance, *result)) << LastErrorMessage;
  return result;
}

const TParameterRange& Parameter(const TEquivalence& e, const std::string& name) {
  for (int k = 1; k <= e.ParameterCount; ++k)
    if (e.Parameters[k].Name == name) return e.Parameters[k];
  ADD_FAILURE() << "no parameter " << name;
  return e.Parameters[1];
}

double Ratio(const TValueRange& range) { return range.Upper / range.Lower; }

TEST(DarZarrouk, FiguresOfAKnownModel) {
  // 4 m of 50 ohm·m over 6 m of 200 ohm·m over 15 m of 8 ohm·m; the
  // half-space plays no part.
  TLayerModel model;
  model.LayerCount = 4;
  const double rho[] = {50, 200, 8, 3000}, depth[] = {4, 10, 25, HalfSpaceDepth};
  for (int i = 1; i <= 4; ++i) model.Rho[i] = rho[i - 1], model.Depth[i] = depth[i - 1];
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
  const auto e = Analyse(Sounding({100, 10, 1000}, {10, 13}));
  const TParameterRange& rho2 = Parameter(*e, "Rho 2");
  EXPECT_GE(Ratio(rho2.Range), 2) << rho2.Range.Lower << " to " << rho2.Range.Upper;
  EXPECT_GE(Ratio(e->ThicknessRange[2]), 2) << e->ThicknessRange[2].Lower << " to " << e->ThicknessRange[2].Upper;
  EXPECT_GE(e->SRange[2].Lower, 0.3 * 0.9);
  EXPECT_LE(e->SRange[2].Upper, 0.3 * 1.1);
  // T2 is not fixed at all: it follows ρ2 and h2.
  EXPECT_GE(Ratio(e->TRange[2]), 4);
}

TEST(Equivalence, AThinResistiveLayerIsFixedOnlyByItsTransverseResistance) {
  // K type: 2 m of 500 ohm·m between 10 ohm·m layers, T2 = 1000 ohm·m².
  const auto e = Analyse(Sounding({10, 500, 10}, {10, 12}));
  EXPECT_GE(Ratio(Parameter(*e, "Rho 2").Range), 2);
  EXPECT_GE(Ratio(e->ThicknessRange[2]), 2);
  EXPECT_GE(e->TRange[2].Lower, 1000 * 0.9);
  EXPECT_LE(e->TRange[2].Upper, 1000 * 1.1);
  EXPECT_GE(Ratio(e->SRange[2]), 4);
}

TEST(Equivalence, AWellResolvedModelHasTheFitsIntervals) {
  // Two layers with noise, fitted: rms noise 0.03 / √2 in ln units.
  TResondixData d = Sounding({137.3, 23.1}, {7.9}, 0.03);
  d.LayerRho[1] = 100, d.LayerRho[2] = 40, d.LayerDepth[1] = 5;
  d.Fit();
  ASSERT_EQ(d.FitStatus, 0);
  // Near a minimum, the sum of squares grows by the square of the offset
  // over the variance: with SS at most (1 + 1/(M − n))·SS, a profile reaches
  // exactly the fit's one-standard-error interval exp(p ± σ).
  const double relative = std::sqrt(1 + 1.0 / (15 - 3)) - 1;
  const auto e = Analyse(d, {relative, 0});
  ASSERT_EQ(e->ParameterCount, 3);
  EXPECT_NEAR(e->Rmse, d.Rmse, 1e-12);
  for (int k = 1; k <= 3; ++k) {
    const TParameterRange& p = e->Parameters[k];
    SCOPED_TRACE(p.Name.str());
    EXPECT_EQ(p.Name, d.ParameterNames[k]);
    ASSERT_TRUE(p.Range.Lower < p.Value && p.Value < p.Range.Upper);
    EXPECT_FALSE(p.LowerOpen || p.UpperOpen);
    // The grid's 2.7 % steps and the curvature of the model keep the
    // profile within a fifth of σ of the linear interval.
    const double sigma = std::log(d.ParameterUpper[k] / d.ParameterLower[k]) / 2;
    EXPECT_NEAR(std::log(p.Value / p.Range.Lower), sigma, 0.2 * sigma + 0.027);
    EXPECT_NEAR(std::log(p.Range.Upper / p.Value), sigma, 0.2 * sigma + 0.027);
  }
  // With the default tolerance the ranges are wider but still closed and
  // around the fitted values.
  const auto wide = Analyse(d);
  for (int k = 1; k <= 3; ++k) {
    const TParameterRange& p = wide->Parameters[k];
    EXPECT_TRUE(p.Range.Lower <= e->Parameters[k].Range.Lower && p.Range.Upper >= e->Parameters[k].Range.Upper);
    EXPECT_FALSE(p.LowerOpen || p.UpperOpen) << p.Name;
  }
}

TEST(Equivalence, ToleranceZeroGivesTheFittedPoint) {
  const TResondixData d = Sounding({100, 10, 1000}, {10, 13});
  const auto e = Analyse(d, {0, 0});
  EXPECT_EQ(e->ParameterCount, 5);
  EXPECT_EQ(e->ModelCount, 0);
  for (int k = 1; k <= e->ParameterCount; ++k) {
    const TParameterRange& p = e->Parameters[k];
    EXPECT_TRUE(p.Range.Lower == p.Value && p.Range.Upper == p.Value && !p.LowerOpen && !p.UpperOpen) << p.Name;
  }
  for (int i = 1; i <= 2; ++i)
    EXPECT_TRUE(e->SRange[i].Lower == e->DarZarrouk.Layers[i].S && e->SRange[i].Upper == e->DarZarrouk.Layers[i].S);
}

TEST(Equivalence, LeavesTheDocumentAloneAndIsRepeatable) {
  TResondixData d = Sounding({100, 10, 1000}, {10, 13});
  d.DepthUnknown[1] = false;  // the first interface fixed: depth 2 may not rise above it
  d.OnChange = [](TResondixData&) { ADD_FAILURE() << "notified"; };
  const std::string before = Tables(d);
  TMessageRecorder recorder;
  const auto first = Analyse(d), second = Analyse(d);
  EXPECT_EQ(Tables(d), before);
  EXPECT_TRUE(recorder.Texts.empty());
  ASSERT_EQ(first->ModelCount, second->ModelCount);
  EXPECT_GT(first->ModelCount, 0);
  for (int m = 1; m <= first->ModelCount; ++m) {
    EXPECT_TRUE(first->Models[m].Rho == second->Models[m].Rho && first->Models[m].Depth == second->Models[m].Depth);
    // Every equivalent model keeps the fixed interface and its order.
    EXPECT_EQ(first->Models[m].Depth[1], 10);
    EXPECT_GT(first->Models[m].Depth[2], 10);
  }
  // The held depth may come down to the fixed one, never onto it.
  const TParameterRange& depth2 = Parameter(*first, "Depth 2");
  EXPECT_GT(depth2.Range.Lower, 10);
}

TEST(Equivalence, RefusesWhatTheFitRefuses) {
  TResondixData d = Sounding({100, 10, 1000}, {10, 13});
  TEquivalence result;
  const struct {
    const char* Name;
    void (*Change)(TResondixData&);
    const char* Message;
  } rows[] = {
      {"no unknowns", [](TResondixData& x) { x.RhoUnknown.Fill(false), x.DepthUnknown.Fill(false); },
       "No  Unknown  Parameters  Specified  !"},
      {"too many", [](TResondixData& x) { x.SetMeasurementCount(4); }, "Too  Many  Unknown  Parameters  !"},
      {"a resistivity not entered", [](TResondixData& x) { x.LayerRho[2] = 0; },
       "Layer 2: Value must be greater than 0!"},
      {"a measurement not entered", [](TResondixData& x) { x.ApparentRho[3] = 0; },
       "Measurement 3: Value must be greater than 0!"},
  };
  for (const auto& row : rows) {
    TResondixData changed = d;
    row.Change(changed);
    EXPECT_FALSE(AnalyseEquivalence(changed, {}, result)) << row.Name;
    EXPECT_EQ(LastErrorMessage, row.Message) << row.Name;
  }
}

}  // namespace
