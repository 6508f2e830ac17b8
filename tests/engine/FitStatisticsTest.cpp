// The statistics texts from given fit results: percentages, intervals with
// their rounding and widening, "very large", the placeholder when no degree
// of freedom is left, and the correlation cells.
#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include "ResondixData.h"

namespace {

// A converged fit's results for one unknown in a two-layer model, set
// directly: with 5 measurements and one unknown the residual scale is
// √(norm² / 4), so a norm of 2 makes σ = √Covariance[1][1] exactly.
struct TOneUnknown {
  TResondixData Document;

  TOneUnknown(bool isDepth, double p, double sigma) {
    TResondixData& d = Document;
    d.LayerCount = 2;
    d.LayerRho[1] = 100;
    d.LayerRho[2] = 10;
    d.LayerDepth[1] = 5;
    d.LayerDepth[2] = HalfSpaceDepth;
    (isDepth ? d.DepthUnknown : d.RhoUnknown)[1] = true;
    d.SetMeasurementCount(5);
    d.UnknownCount = 1;
    d.Parameters[1] = p;
    d.ResidualNorm = 2;
    d.Covariance()[1][1] = sigma * sigma;
  }
};

// A parameter near `target` whose exponential is exactly `target`, for the
// rounding of exact halves.
double LogOfExactly(double target, double shift) {
  double p = std::log(target) + shift;
  for (int step = 0; step < 200 && std::exp(p - shift) != target; ++step)
    p = std::nextafter(p, std::exp(p - shift) < target ? HUGE_VAL : -HUGE_VAL);
  EXPECT_EQ(std::exp(p - shift), target) << "no parameter found";
  return p;
}

TEST(FitStatistics, ResistivityTexts) {
  struct TCase {
    const char* Name;
    double P;
    double Sigma;
    double LayerRho;  // the fitted value the widening compares with
    const char* Percent;
    const char* Interval;
  };
  const double sigmaOfExample = std::log(5.4 / 5.1) / 2;  // bounds 5.1 and 5.4
  const double halfBound = 0.1875;  // a square root without rounding; the lower bound is exactly 2.5
  const TCase cases[] = {
      // σ = 0: 100.5 − 100 = 0.5, a tie, rounds to the even 0.
      {"no uncertainty", std::log(137.3), 0, 137.3, "  0%", "137 - 138"},
      {"no uncertainty, whole value", std::log(42.0), 0, 42, "  0%", "42 - 42"},
      {"no uncertainty, rounded up", std::log(16.8), 0, 16.8, "  0%", "16 - 17"},
      // Both bounds round to 5, which is not above 5.3: hi widens to 6.
      {"example 5.1 to 5.4", std::log(std::sqrt(5.1 * 5.4)), sigmaOfExample, 5.3, "  3%", "5 - 6"},
      {"ordinary", std::log(212.7), 0.0842, 212.7, "  9%", "196 - 231"},
      // 2.5 rounds to the even 2, not to 3.
      {"tie in a bound", LogOfExactly(2.5, halfBound), halfBound, 3.0, " 18%", "2 - 4"},
      {"sigma 3 still has bounds", std::log(80.0), 3.0, 80, " 96%", "4 - 1607"},
      // 100.5 − 100·e⁻³·⁰¹ ≈ 95.57: the percentage stays below 100.
      {"sigma above 3", std::log(80.0), 3.01, 80, " 96%", "very large"},
      {"p - sigma below -88", std::log(80.0), 100, 80, "100%", "very large"},
      // Upper bound e^21.85 ≈ 3.1e9, beyond 32-bit integers.
      {"bound beyond 2^31", 18.9, 2.95, std::exp(18.9), " 95%", "8452730 - 3085563081"},
      // e^17 - e^22 needs 21 characters: shown as very large, not cut.
      {"too long for the text", 19.5, 2.5, std::exp(19.5), " 92%", "very large"},
  };
  for (const TCase& c : cases) {
    TOneUnknown one(false, c.P, c.Sigma);
    TResondixData& d = one.Document;
    d.LayerRho[1] = c.LayerRho;
    d.ComputeFitStatistics();
    EXPECT_EQ(d.RhoPercentText[1], c.Percent) << c.Name;
    EXPECT_EQ(d.RhoIntervalText[1], c.Interval) << c.Name;
    // The depth of the layer was fixed: its texts are not touched.
    EXPECT_EQ(d.DepthPercentText[1], "  * ") << c.Name;
    EXPECT_EQ(d.DepthIntervalText[1], "  * ") << c.Name;
  }
}

TEST(FitStatistics, AnUncertaintyAbove3MarksTheLowerBoundOnly) {
  TOneUnknown large(false, std::log(212.7), 3.5);
  large.Document.ParameterUpper[1] = 77;
  large.Document.ComputeFitStatistics();
  EXPECT_EQ(large.Document.ParameterLower[1], 1.7e308);
  EXPECT_EQ(large.Document.ParameterUpper[1], 77);  // left as it was
  EXPECT_EQ(large.Document.ParameterPercent[1], 97);
}

TEST(FitStatistics, DepthTextsDescribeTheBottomOfTheLayer) {
  struct TCase {
    const char* Name;
    double Top;
    double Bottom;
    double LowerThickness;
    double UpperThickness;
    const char* Interval;
  };
  const TCase cases[] = {
      // Thickness bounds 7.2 and 9.1 below a top at 4 m: 11.2 and 13.1.
      {"example", 4, 12, 7.2, 9.1, "11 - 13"},
      {"thin top", 0.41, 6.37, 5.47, 6.43, "6 - 7"},
      // Both round to 24, which is above 23.6: lo widens to 23.
      {"widened below", 17.3, 23.6, 6.6, 6.9, "23 - 24"},
  };
  for (const TCase& c : cases) {
    TResondixData d;
    d.LayerCount = 3;
    d.LayerDepth[1] = c.Top;
    d.LayerDepth[2] = c.Bottom;
    d.LayerDepth[3] = HalfSpaceDepth;
    d.LayerRho[1] = d.LayerRho[2] = d.LayerRho[3] = 50;
    d.DepthUnknown[2] = true;
    d.SetMeasurementCount(5);
    d.UnknownCount = 1;
    const double p = std::log(std::sqrt(c.LowerThickness * c.UpperThickness));
    const double sigma = std::log(c.UpperThickness / c.LowerThickness) / 2;
    d.Parameters[1] = p;
    d.ResidualNorm = 2;
    d.Covariance()[1][1] = sigma * sigma;
    d.ComputeFitStatistics();
    EXPECT_EQ(d.DepthIntervalText[2], c.Interval) << c.Name;
    EXPECT_EQ(d.DepthPercentText[2], std::string(d.ParameterPercent[1] < 10 ? "  " : " ") +
                                         std::to_string(int(d.ParameterPercent[1])) + "%")
        << c.Name;
    EXPECT_EQ(d.RhoIntervalText[2], "  * ") << c.Name;
  }
}

TEST(FitStatistics, TheUnknownsAreWalkedInTheirFixedOrder) {
  // Unknowns Rho 1, Rho 3, Depth 2 with distinct uncertainties.
  TResondixData d;
  d.LayerCount = 3;
  d.LayerRho[1] = 40;
  d.LayerRho[2] = 300;
  d.LayerRho[3] = 9;
  d.LayerDepth[1] = 2;
  d.LayerDepth[2] = 30;
  d.LayerDepth[3] = HalfSpaceDepth;
  d.RhoUnknown[1] = d.RhoUnknown[3] = d.DepthUnknown[2] = true;
  d.UnknownCount = 3;
  d.Parameters[1] = std::log(40);
  d.Parameters[2] = std::log(9);
  d.Parameters[3] = std::log(28);
  d.SetMeasurementCount(7);
  d.ResidualNorm = 2;  // 7 − 3 degrees of freedom: scale 1
  const double sigma[] = {0, 0.01, 0.2, 3.5};
  for (int k = 1; k <= 3; ++k) d.Covariance()[k][k] = sigma[k] * sigma[k];
  d.ComputeFitStatistics();
  EXPECT_EQ(d.RhoPercentText[1], "  1%");
  EXPECT_EQ(d.RhoIntervalText[1], "40 - 40");
  EXPECT_EQ(d.RhoPercentText[3], " 19%");
  EXPECT_EQ(d.RhoIntervalText[3], "7 - 11");
  EXPECT_EQ(d.DepthPercentText[2], " 97%");
  EXPECT_EQ(d.DepthIntervalText[2], "very large");
  EXPECT_EQ(d.RhoPercentText[2], "  * ");
}

TEST(FitStatistics, NoDegreeOfFreedomLeavesThePlaceholderEverywhere) {
  TOneUnknown one(false, std::log(137.3), 0.1);
  TResondixData& d = one.Document;
  d.SetMeasurementCount(1);
  for (int i = 0; i <= MaxLayers; ++i) {
    d.RhoPercentText[i] = " 12%";
    d.DepthPercentText[i] = " 34%";
    d.RhoIntervalText[i] = "1 - 2";
    d.DepthIntervalText[i] = "3 - 4";
  }
  d.ParameterPercent[1] = 55;
  d.ComputeFitStatistics();
  for (int i = 0; i <= MaxLayers; ++i) {
    EXPECT_EQ(d.RhoPercentText[i], "  * ");
    EXPECT_EQ(d.DepthPercentText[i], "  * ");
    EXPECT_EQ(d.RhoIntervalText[i], "  * ");
    EXPECT_EQ(d.DepthIntervalText[i], "  * ");
  }
  EXPECT_EQ(d.ParameterPercent[1], 55);
}

TEST(FitStatistics, CorrelationCells) {
  TResondixData d;
  d.UnknownCount = 4;
  auto& c = d.Covariance();
  c[1][1] = 4;
  c[2][2] = 1;
  c[3][3] = 0;  // zero variance
  c[4][4] = 2.25;
  c[1][2] = c[2][1] = -0.25;  // r = −12.5 %: a tie, to the even −12
  c[1][4] = c[4][1] = 1.2;    // r = 40 %
  c[2][4] = c[4][2] = -0.003; // r = −0.2 %: rounds to 0, shown without sign
  c[1][3] = c[3][1] = 0.5;
  struct TCell {
    int K;
    int J;
    const char* Text;
  };
  const TCell cells[] = {
      {1, 1, "100%"}, {2, 2, "100%"}, {4, 4, "100%"}, {2, 1, "-12%"}, {4, 1, "40%"},
      {4, 2, "0%"},   {1, 2, ""},     {1, 4, ""},     {3, 1, ""},     {3, 3, ""},     {4, 3, ""},
  };
  for (const TCell& cell : cells) EXPECT_EQ(d.CorrelationText(cell.K, cell.J), cell.Text) << cell.K << "," << cell.J;
}

}  // namespace
