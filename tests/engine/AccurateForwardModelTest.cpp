// The accurate forward model against the physics: curves within a tenth of a
// percent of the layered-earth integrals for every kind of earth at spacings
// from 0.5 m to 10 km, a uniform earth exactly, and a fit that recovers a
// sounding computed by the integrals. The reference integration is itself
// held against the closed form of images for two layers.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/Optimisation.h"
#include "tests/engine/EngineTestSupport.h"
#include "tests/engine/LayeredEarthIntegral.h"

namespace {

using reference::TEarth;

// The promise of the accurate model.
constexpr double CurveTolerance = 1e-3;
// The reference converges to 1e-12 of the largest resistivity per integral;
// 1e-8 leaves room for the images' own rounding over thousands of terms.
constexpr double ReferenceTolerance = 1e-8;

const struct {
  const char* Name;
  TEarth Earth;  // resistivity and thickness per layer, the half-space last
} Earths[] = {
    {"two layers 1:100", {{10, 6}, {1000, 0}}},
    {"two layers 1:10", {{10, 6}, {100, 0}}},
    {"two layers 10:1", {{100, 6}, {10, 0}}},
    {"two layers 100:1", {{1000, 6}, {10, 0}}},
    {"H type", {{200, 4}, {20, 12}, {400, 0}}},
    {"K type", {{30, 3}, {600, 20}, {15, 0}}},
    {"A type", {{15, 2.5}, {90, 18}, {700, 0}}},
    {"Q type", {{800, 5}, {120, 30}, {8, 0}}},
    {"thin top layer", {{500, 0.3}, {40, 25}, {200, 0}}},
    {"thin conductor at depth", {{150, 8}, {3, 0.8}, {150, 0}}},
    {"four layers", {{63.1, 2.13}, {187.4, 4.58}, {24.3, 12.89}, {311.7, 0}}},
};
const double Spacings[] = {0.5, 1.3, 4.7, 10, 37, 150, 620, 2300, 10000};

TLayerModel Model(const TEarth& earth) {
  TLayerModel model;
  model.LayerCount = static_cast<int>(earth.size());
  double depth = 0;
  for (int i = 1; i <= model.LayerCount; ++i) {
    depth += earth[i - 1].Thickness;
    model.LayerRho[i] = earth[i - 1].Rho;
    model.LayerDepth[i] = i < model.LayerCount ? depth : HalfSpaceDepth;
  }
  return model;
}

TAccurateCurve Curve(bool schlumberger, const TEarth& earth) {
  TAccurateCurve curve;
  curve.Compute(Model(earth), schlumberger);
  return curve;
}

TEST(AccurateForwardModel, WithinATenthOfAPercentOfTheIntegralsForEveryKindOfEarth) {
  for (bool schlumberger : {true, false})
    for (const auto& [name, earth] : Earths) {
      TModelCurve curve;
      curve.Compute(Model(earth), {schlumberger, TForwardModel::Accurate});
      for (double s : Spacings) {
        const std::string where = std::string(schlumberger ? "Schlumberger, " : "Wenner, ") + name + ", " +
                                  std::to_string(s) + " m";
        const double integral = reference::ApparentRho(schlumberger, earth, s);
        if (earth.size() == 2) {
          ASSERT_NEAR(integral,
                      reference::TwoLayerImages(schlumberger, earth[0].Rho, earth[1].Rho, earth[0].Thickness, s),
                      ReferenceTolerance * integral)
              << "the reference itself, " << where;
        }
        EXPECT_NEAR(curve.ModelApparentRho(s), integral, CurveTolerance * integral) << where;
      }
    }
}

TEST(AccurateForwardModel, AUniformEarthGivesItsOwnResistivityAtEverySpacing) {
  // One layer, and two of the same resistivity, whose interface the physics cannot see.
  for (bool schlumberger : {true, false})
    for (const TEarth& earth : {TEarth{{37.3, 0}}, TEarth{{37.3, 5.5}, {37.3, 0}}}) {
      const TAccurateCurve c = Curve(schlumberger, earth);
      for (double x = -2; x <= 5; x += 0.037) EXPECT_NEAR(c.LogRhoAt(x), DecimalLog(37.3), 1e-12) << x;
      for (int m = AccurateFirstNode; m <= AccurateLastNode; ++m) EXPECT_NEAR(c.AccurateNodeSlope[m], 0, 1e-12) << m;
      EXPECT_TRUE(std::isnan(c.LogRhoAt(std::nan(""))));
    }
}

TEST(AccurateForwardModel, AFitRecoversASoundingComputedByTheIntegrals) {
  // A strong H type, measured at the 15 default spacings (1.5 to 40 m), noise-free.
  const TEarth truth = {{137.3, 3.37}, {18.6, 14.53}, {412.9, 0}};
  constexpr double Recovered = 1e-3;
  for (bool schlumberger : {true, false}) {
    double filterMiss = 0;
    for (TForwardModel model : {TForwardModel::Accurate, TForwardModel::Filter}) {
      TSounding s;
      s.MeasurementCount = MaxMeasurements;
      for (int i = 1; i <= MaxMeasurements; ++i) {
        s.HalfSpacing[i] = DefaultSpacings[i - 1];
        s.ApparentRho[i] = reference::ApparentRho(schlumberger, truth, s.HalfSpacing[i]);
      }
      // The start: every value off by a factor of 2, every value unknown.
      TLayerModel start = Model(truth);
      for (int i = 1; i <= 3; ++i) {
        start.LayerRho[i] *= i == 2 ? 2 : 0.5;
        if (i < 3) start.LayerDepth[i] *= 2;
      }
      TFit fit;
      const TFitResult& first = fit.Run(s, start, AllUnknowns(3), {schlumberger, model});
      ASSERT_EQ(first.Status, TFitStatus::Converged);
      // On past the fit's own tolerance, as far as the data allow.
      fit.Settings.AbsoluteTolerance = 1e-10;
      const TLayerModel d = fit.Run(s, TLayerModel(first.Model), AllUnknowns(3), {schlumberger, model}).Model;
      const double fitted[] = {d.LayerRho[1], d.LayerRho[2], d.LayerRho[3], d.LayerDepth[1], d.LayerDepth[2]};
      const double expected[] = {137.3, 18.6, 412.9, 3.37, 17.9};
      for (int k = 0; k < 5; ++k) {
        const double miss = std::fabs(fitted[k] / expected[k] - 1);
        if (model == TForwardModel::Accurate)
          EXPECT_LT(miss, Recovered) << (schlumberger ? "Schlumberger" : "Wenner") << " value " << k;
        else
          filterMiss = std::max(filterMiss, miss);
      }
    }
    // The same data through the short filters: the error the option removes.
    EXPECT_GT(filterMiss, Recovered) << (schlumberger ? "Schlumberger" : "Wenner");
  }
}

}  // namespace
