// The document's fit: what a refusal leaves, the pinned path of two noisy
// soundings through the document, a fit whose layers the value rules refuse,
// the statistics texts and the correlation cells, and the forward model kept
// out of the data file.
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "document/ResondixData.h"
#include "engine/Equivalence.h"
#include "engine/SmoothInversion.h"
#include "tests/TestSupport.h"

namespace {

using TModel = std::vector<std::pair<double, double>>;  // rho and bottom of each layer, the half-space last

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

const TModel ThreeLayers = {{137.3, 3.37}, {28.6, 17.9}, {412.9, 0}};
const TModel ThreeLayersStart = {{68.65, 1.685}, {57.2, 35.8}, {206.45, 0}};

TEST(Fit, RefusesWithoutTouchingTheDocument) {
  TResondixData d = Sounding(true, ThreeLayers, ThreeLayersStart, 0.02);
  d.HalfSpacing[7] = 0, d.Rmse = 0.123;
  // An earlier fit's unknowns, which its covariance belongs to.
  d.LastFit.UnknownCount = 1, d.ParameterNames[1] = "Rho 2", d.LastFit.Covariance[1][1] = 4;
  const std::string before = Tables(d);
  d.OnChange = [](TResondixData&) { ADD_FAILURE() << "notified"; };
  TMessageRecorder recorder;
  FitSucceeded = true;
  const TFitOutcome outcome = d.Fit();
  const char* message = "Spacing of measurement 7 must be greater than 0!";
  EXPECT_TRUE(!outcome.Ran && outcome.Refusal == message);
  EXPECT_EQ(recorder.Texts, std::vector<std::string>{message});
  EXPECT_TRUE(!FitSucceeded && Tables(d) == before && d.Saved && d.Rmse == 0.123);
  EXPECT_TRUE(d.LastFit.UnknownCount == 1 && d.ParameterNames[1] == "Rho 2" && d.CorrelationText(1, 1) == "100%");
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
    EXPECT_EQ(d.LastFit.EvaluationCount, row.Evaluations) << row.Name;
    for (int i = 1; i <= 3; ++i) EXPECT_NEAR(d.LayerRho[i], row.Rho[i - 1], 1e-9) << row.Name << ", layer " << i;
    for (int i = 1; i <= 2; ++i) EXPECT_NEAR(d.LayerDepth[i], row.Depth[i - 1], 1e-9) << row.Name << ", layer " << i;
    EXPECT_NEAR(d.Rmse, row.Rmse, 1e-12) << row.Name;
  }
}

TEST(Fit, LayersTheValueRulesRefuseEndItOutOfRangeWithTheirMisfitAndReason) {
  // The data want the first interface at 11.6 m, the fixed second one is at 7.4 m: the iteration
  // converges onto the clamp, and the layers it leaves are refused by the value rules.
  TResondixData d = Sounding(true, {{94.3, 11.6}, {12.7, 26.2}, {233.1, 0}}, {{94.3, 4.1}, {12.7, 7.4}, {233.1, 0}},
                             0, {1, 2, 3}, {1});
  std::string log;
  d.OnChange = [&log](TResondixData& sender) { log += sender.StructureChanged && !sender.Saved ? "S" : "?"; };
  TMessageRecorder recorder;
  const TFitOutcome outcome = d.Fit();
  EXPECT_TRUE(outcome.Ran && outcome.Status == 2 && d.FitStatus == 2 && d.HasFitResult && log == "S");
  EXPECT_EQ(recorder.Texts, std::vector<std::string>{"The fit stopped: a parameter left its admissible range.\n"
                                                     "The depth of layer 1 is refused: Value must be between 0.00 and 7.40!"});
  EXPECT_EQ(d.LayerDepth[1], 7.4);
  EXPECT_EQ(d.LastFit.Parameters[4], std::log(7.4));  // rewritten to the depth it stopped at
  EXPECT_NEAR(d.Rmse, d.ModelRmse(), 1e-15);
  EXPECT_GT(d.Rmse, 0.01);
}

// A converged fit of the unknowns Rho 1, Rho 3 and Depth 2 (below a top at
// 4 m) with these log-parameters, standard errors and fitted values; with 7
// measurements a residual norm of 2 is a residual scale √(4 / (7 − 3)) = 1.
TResondixData Statistics(const double (&p)[3], const double (&sigma)[3], const double (&fitted)[3]) {
  TResondixData d;
  d.LayerRho[1] = fitted[0], d.LayerRho[3] = fitted[1], d.LayerDepth[2] = fitted[2], d.LayerDepth[1] = 4;
  d.SetMeasurementCount(7);
  TFitResult& fit = d.LastFit;
  fit.UnknownCount = 3, fit.ResidualNorm = 2;
  fit.Unknowns[1] = {false, 1}, fit.Unknowns[2] = {false, 3}, fit.Unknowns[3] = {true, 2};
  for (int k = 1; k <= 3; ++k) fit.Parameters[k] = p[k - 1], fit.Covariance[k][k] = sigma[k - 1] * sigma[k - 1];
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
  EXPECT_FALSE(ordered.Uncertainties.Bounded(3));  // beyond σ = 3
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
  d.LastFit.UnknownCount = 4;
  auto& c = d.LastFit.Covariance;
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

TEST(Fit, TheForwardModelIsTheUsersAndNotPartOfTheFile) {
  TResondixData filter = Sounding(true, ThreeLayers, ThreeLayers);
  TResondixData accurate = filter;
  accurate.ForwardModel = TForwardModel::Accurate;
  accurate.ComputeModelCurve();
  EXPECT_NE(accurate.CurveLogRhoAt(1.5), filter.CurveLogRhoAt(1.5));
  EXPECT_EQ(accurate.DataFileText(), filter.DataFileText());
  // Reading a file keeps the user's choice.
  ASSERT_TRUE(accurate.LoadFromText(filter.DataFileText()));
  EXPECT_EQ(accurate.ForwardModel, TForwardModel::Accurate);
}

TEST(Equivalence, RefusesWhatTheFitRefusesAndValuesTheRulesRefuse) {
  TResondixData d = Sounding(true, ThreeLayers, ThreeLayers);
  const struct {
    const char* Name;
    void (*Change)(TResondixData&);
    const char* Message;
  } rows[] = {
      {"too many", [](TResondixData& x) { x.SetMeasurementCount(4); }, "Too  Many  Unknown  Parameters  !"},
      {"a resistivity not entered", [](TResondixData& x) { x.LayerRho[2] = 0; },
       "Layer 2: Value must be greater than 0!"},
      {"a measurement not entered", [](TResondixData& x) { x.ApparentRho[3] = 0; },
       "Measurement 3: Value must be greater than 0!"},
  };
  auto result = std::make_unique<TEquivalence>();
  for (const auto& row : rows) {
    TResondixData changed = d;
    row.Change(changed);
    EXPECT_EQ(changed.AnalyseEquivalence({}, *result), row.Message) << row.Name;
  }
  EXPECT_EQ(d.AnalyseEquivalence({}, *result), "");
  EXPECT_EQ(result->ParameterCount, 5);
}

// Data > Automatic model after a hopeless start: the fit of that start is
// warned of in words, the automatic model replaces the layers as one change
// with every value an unknown and fits to the noise.
TEST(AutomaticModel, AfterAHopelessStartReplacesTheLayersAsOneChangeWithEveryValueAnUnknown) {
  TResondixData d = Sounding(true, ThreeLayers, {{100000, 0.1}, {0.1, 5000}, {100000, 0}}, 0.02);
  ASSERT_EQ(d.Fit().Status, 0);
  const std::vector<std::string> window = d.FitWarnings(TAdviceFor::Window);
  ASSERT_EQ(window.size(), 2u);
  EXPECT_EQ(window[0].rfind("The fit is poor: the model misses the measurements by ", 0), 0u) << window[0];
  EXPECT_NE(window[0].find(" % on average. Try Data > Automatic model."), std::string::npos) << window[0];
  EXPECT_EQ(window[1], "The measurements do not fix Rho 3 and Depth 2 (uncertainty 100 %). Try Data > Automatic model.");
  EXPECT_EQ(d.FitWarnings(TAdviceFor::CommandLine)[1],
            "The measurements do not fix Rho 3 and Depth 2 (uncertainty 100 %). Try fit --auto.");

  int changes = 0;
  d.OnChange = [&changes](TResondixData& x) { changes += x.StructureChanged ? 1 : 100; };
  d.RhoUnknown.Fill(false), d.DepthUnknown.Fill(false), d.Saved = true;
  const TFitOutcome outcome = d.FitAutomaticModel(0, DefaultErrorPercent);
  EXPECT_TRUE(outcome.Ran && outcome.Status == 0);
  EXPECT_EQ(changes, 1);
  EXPECT_FALSE(d.Saved);
  ASSERT_EQ(d.LayerCount, 3);
  for (int i = 1; i <= MaxLayers; ++i) EXPECT_TRUE(d.RhoUnknown[i] == (i <= 3) && d.DepthUnknown[i] == (i < 3)) << i;
  EXPECT_EQ(d.LastFit.UnknownCount, 5);
  EXPECT_FALSE(d.FitDiagnostics.Poor) << d.FitDiagnostics.AverageMisfitPercent;
  EXPECT_EQ(d.FitDiagnostics.MeasurementCount, 15);
}

TEST(AutomaticModel, TheAutomaticAndTheSmoothModelRefuseWhatTheFitRefuses) {
  const struct {
    const char* Name;
    void (*Change)(TResondixData&);
    const char* Message;
  } rows[] = {
      {"too few measurements", [](TResondixData& x) { x.SetMeasurementCount(2); }, "Too  Many  Unknown  Parameters  !"},
      {"a measurement not entered", [](TResondixData& x) { x.ApparentRho[3] = 0; },
       "Measurement 3: Value must be greater than 0!"},
      {"a spacing of 0", [](TResondixData& x) { x.HalfSpacing[4] = 0; }, "Spacing of measurement 4 must be greater than 0!"},
  };
  TMessageRecorder recorder;
  for (const auto& row : rows) {
    TResondixData d = Sounding(true, ThreeLayers, ThreeLayersStart);
    row.Change(d);
    const std::string before = Tables(d);
    const TFitOutcome outcome = d.FitAutomaticModel(2, DefaultErrorPercent);
    EXPECT_TRUE(!outcome.Ran && outcome.Refusal == row.Message) << row.Name << ": " << outcome.Refusal;
    EXPECT_EQ(Tables(d), before) << row.Name;
    TSmoothModel smooth;
    const std::string smoothRefusal = d.SmoothModel(DefaultErrorPercent, smooth);
    EXPECT_TRUE(smoothRefusal == row.Message || (d.MeasurementCount == 2 && smoothRefusal.empty())) << row.Name;
  }
}

}  // namespace
