// The forward model: the resistivity transform, the filtered curve table
// with its documented values, and the interpolation between and beyond the
// nodes.
#include <cmath>

#include <gtest/gtest.h>

#include "ResondixData.h"

namespace {

// Tolerance of the documented curve values, which are given to the last
// digit shown (99.97, 86.9, 10.35): half a unit of that digit.
double HalfLastDigit(double shown, int decimals) { return 0.5 * std::pow(10.0, -decimals) + 1e-12 * shown; }

TResondixData TwoLayers(bool schlumberger, double rho1, double rho2, double depth) {
  TResondixData d;
  d.SetSoundingType(schlumberger);
  d.LayerCount = 2;
  d.LayerRho[1] = rho1;
  d.LayerRho[2] = rho2;
  d.LayerDepth[1] = depth;
  d.LayerDepth[2] = HalfSpaceDepth;
  return d;
}

double RhoAtNode(const TResondixData& d, int j) { return std::pow(10.0, d.CurveLogRho[j]); }

TEST(ForwardModel, SingleLayerGivesAFlatCurve) {
  for (bool schlumberger : {true, false}) {
    TResondixData d;
    d.SetSoundingType(schlumberger);
    d.LayerCount = 1;
    d.LayerRho[1] = 37.3;
    d.LayerDepth[1] = HalfSpaceDepth;
    d.ComputeModelCurve();
    const double expected = std::log(1e4 * 37.3) / 2.3026 - 4;
    for (int j = 1; j <= d.FilterCount + 2; ++j) {
      EXPECT_NEAR(d.CurveLogRho[j], expected, 1e-12) << "node " << j;
      EXPECT_NEAR(d.CurveNodeSlope[j], 0, 1e-12);
    }
    EXPECT_NEAR(expected, std::log(37.3) / 2.3026 - 0.0000259, 1e-7);
    EXPECT_NEAR(2.3026 * d.CurveLogRhoAt(1.234), std::log(37.3) - 0.0000596, 1e-7);
    EXPECT_EQ(d.ResistivityTransform(0.01), 37.3);
  }
}

TEST(ForwardModel, TwoLayerSchlumbergerValues) {
  TResondixData d = TwoLayers(true, 100, 10, 10);
  d.ComputeModelCurve();
  EXPECT_NEAR(RhoAtNode(d, 1), 99.97, HalfLastDigit(99.97, 2));
  EXPECT_NEAR(RhoAtNode(d, 7), 86.9, HalfLastDigit(86.9, 1));
  EXPECT_NEAR(RhoAtNode(d, 13), 10.35, HalfLastDigit(10.35, 2));
}

TEST(ForwardModel, TwoLayerWennerValues) {
  TResondixData d = TwoLayers(false, 100, 10, 10);
  d.ComputeModelCurve();
  EXPECT_NEAR(RhoAtNode(d, 1), 99.99, HalfLastDigit(99.99, 2));
  EXPECT_NEAR(RhoAtNode(d, 4), 73.6, HalfLastDigit(73.6, 1));
  EXPECT_NEAR(RhoAtNode(d, 7), 10.30, HalfLastDigit(10.30, 2));
}

TEST(ForwardModel, SwappedLayersGiveARisingCurve) {
  for (bool schlumberger : {true, false}) {
    TResondixData d = TwoLayers(schlumberger, 10, 100, 10);
    d.ComputeModelCurve();
    const int last = d.FilterCount + 2;
    EXPECT_NEAR(RhoAtNode(d, 1), 10.0, 0.05);
    for (int j = 2; j <= last; ++j) EXPECT_GT(d.CurveLogRho[j], d.CurveLogRho[j - 1] - 1e-3) << "node " << j;
    EXPECT_GT(RhoAtNode(d, last), 90);
    EXPECT_LT(RhoAtNode(d, last), 100.5);
  }
}

TEST(ForwardModel, NodeAbscissaeSpanTheTable) {
  for (bool schlumberger : {true, false}) {
    TResondixData d = TwoLayers(schlumberger, 100, 10, 10);
    d.ComputeModelCurve();
    const int perDecade = schlumberger ? 6 : 3;
    const int nodes = schlumberger ? 22 : 12;
    EXPECT_EQ(d.FilterCount + 2, nodes);
    for (int j = 1; j <= nodes; ++j) EXPECT_NEAR(d.CurveLogSpacing[j], (j - 1.0) / perDecade, 1e-12);
  }
}

TEST(ForwardModel, TransformMatchesTheClosedTwoLayerForm) {
  // T(1/lambda) = rho1 (1 + k e^(-2 lambda h)) / (1 - k e^(-2 lambda h)),
  // k = (rho2 - rho1) / (rho2 + rho1).
  TResondixData d = TwoLayers(true, 83.7, 12.9, 6.4);
  d.ComputeModelCurve();  // fills the thicknesses
  const double k = (12.9 - 83.7) / (12.9 + 83.7);
  for (double u : {0.05, 0.7, 3.0, 40.0, 900.0}) {
    const double e = std::exp(-2 * 6.4 / u);
    EXPECT_NEAR(d.ResistivityTransform(u), 83.7 * (1 + k * e) / (1 - k * e), 1e-9) << "u = " << u;
  }
}

TEST(ForwardModel, InterpolationHitsTheNodesAndJoinsSmoothly) {
  TResondixData d;
  d.LayerCount = 4;
  const double rho[] = {0, 230, 41, 880, 17};
  const double depth[] = {0, 2.7, 13.1, 61.0, HalfSpaceDepth};
  for (int i = 1; i <= 4; ++i) {
    d.LayerRho[i] = rho[i];
    d.LayerDepth[i] = depth[i];
  }
  d.ComputeModelCurve();
  const double h = 1e-7;
  for (int j = 1; j <= d.FilterCount + 1; ++j) {
    const double x = d.CurveLogSpacing[j];
    EXPECT_EQ(d.CurveLogRhoAt(x), d.CurveLogRho[j]) << "node " << j;
    if (j > 1) {
      // Continuous, and with the node slope from both sides.
      EXPECT_NEAR(d.CurveLogRhoAt(x - h), d.CurveLogRho[j], 1e-5);
      const double left = (d.CurveLogRhoAt(x) - d.CurveLogRhoAt(x - h)) / h;
      const double right = (d.CurveLogRhoAt(x + h) - d.CurveLogRhoAt(x)) / h;
      EXPECT_NEAR(left, d.CurveNodeSlope[j], 1e-5);
      EXPECT_NEAR(right, d.CurveNodeSlope[j], 1e-5);
    }
  }
}

TEST(ForwardModel, HalfSpaceDepthHasNoInfluence) {
  TResondixData a = TwoLayers(true, 100, 10, 10);
  TResondixData b = a;
  b.LayerDepth[2] = 123;
  a.ComputeModelCurve();
  b.ComputeModelCurve();
  EXPECT_EQ(a.CurveLogRho, b.CurveLogRho);
}

TEST(ForwardModel, BeyondTheTableTheCurveGoesOnStraight) {
  TResondixData d = TwoLayers(true, 100, 10, 10);
  d.ComputeModelCurve();
  const int last = d.FilterCount + 2;
  // Below 1 m: the line through node 1 with its slope, continuous there.
  EXPECT_NEAR(d.CurveLogRhoAt(-1e-9), d.CurveLogRho[1], 1e-8);
  EXPECT_NEAR(d.CurveLogRhoAt(-0.5), d.CurveLogRho[1] - 0.5 * d.CurveNodeSlope[1], 1e-12);
  // From the last node on, the same with the last node.
  const double end = d.CurveLogSpacing[last];
  EXPECT_EQ(d.CurveLogRhoAt(end), d.CurveLogRho[last]);
  EXPECT_NEAR(d.CurveLogRhoAt(end + 1), d.CurveLogRho[last] + d.CurveNodeSlope[last], 1e-12);
  EXPECT_TRUE(std::isnan(d.CurveLogRhoAt(std::nan(""))));
}

TEST(ForwardModel, AZeroFilterSumKeepsTheTableFinite) {
  TResondixData d;
  d.LayerCount = 1;
  d.LayerRho[1] = 0;
  d.ComputeModelCurve();
  for (int j = 1; j <= d.FilterCount + 2; ++j) {
    EXPECT_TRUE(std::isfinite(d.CurveLogRho[j]));
    EXPECT_TRUE(std::isfinite(d.CurveNodeSlope[j]));
  }
  EXPECT_TRUE(std::isfinite(d.CurveLogRhoAt(1.5)));
}

}  // namespace
