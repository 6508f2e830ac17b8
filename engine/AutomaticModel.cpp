// The automatic layered model (see AutomaticModel.h for the method).
#include "engine/AutomaticModel.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr double Infinity = std::numeric_limits<double>::infinity();

// The perturbed copies of the split model: its log-resistivity contrasts
// around their mean times Contrast (the smooth model blurs contrasts, so a
// restart sharpens them), its interfaces times Depth. The first is the
// split model itself.
constexpr struct {
  double Contrast;
  double Depth;
} Restarts[AutomaticRestartCount] = {{1, 1}, {2, 1}, {1, 0.6}, {1, 1.6}, {2, 0.6}, {2, 1.6}};

TLayerModel Perturbed(const TLayerModel& start, double contrast, double depthFactor) {
  TLayerModel model = start;
  const int n = start.LayerCount;
  double mean = 0;
  for (int i = 1; i <= n; ++i) mean += std::log(start.LayerRho[i]);
  mean /= n;
  for (int i = 1; i <= n; ++i) {
    const double logRho = mean + contrast * (std::log(start.LayerRho[i]) - mean);
    // Away from the ends of the admissible range, where the fit's first
    // Jacobian step would leave it.
    model.LayerRho[i] = std::exp(std::clamp(logRho, MinLogRho + 1, MaxLogRho - 1));
  }
  for (int i = 1; i < n; ++i) model.LayerDepth[i] = depthFactor * start.LayerDepth[i];
  return model;
}

// How good a fit is to keep, lower better: converged to a model the value
// rules accept, ended otherwise with such a model, or neither.
int Rank(const TFitResult& fit) {
  if (!IsOrdered(fit.Model)) return 2;
  return fit.Status == TFitStatus::Converged ? 0 : 1;
}

}  // namespace

int MostAutomaticLayers(int measurementCount) { return std::clamp(measurementCount / 2, MinAutomaticLayers, MaxLayers); }

TLayerModel SplitProfile(const TSmoothModel& smooth, int layers) {
  const TResistivityProfile& profile = smooth.Profile;
  // The cells whose top lies above the depth of investigation, at least one
  // per layer.
  int cells = 0;
  while (cells < profile.LayerCount && profile.LayerDepth[cells] < smooth.DepthOfInvestigation) ++cells;
  cells = std::clamp(cells, layers, int(profile.LayerCount));

  // Sums of ln ρ and of its square over cells 1..i, and the squared
  // deviations from their mean of cells a..b.
  TFixedArray<double, 0, MaxProfileCells> sum, squares;
  for (int i = 1; i <= cells; ++i) {
    const double m = std::log(profile.LayerRho[i]);
    sum[i] = sum[i - 1] + m;
    squares[i] = squares[i - 1] + m * m;
  }
  const auto deviation = [&](int a, int b) {
    const double s = sum[b] - sum[a - 1];
    return squares[b] - squares[a - 1] - s * s / (b - a + 1);
  };
  // least[n][b]: the least deviation of cells 1..b in n layers, whose last
  // layer starts at cell first[n][b].
  TFixedMatrix<double, 1, MaxLayers, 0, MaxProfileCells> least;
  TFixedMatrix<int, 1, MaxLayers, 0, MaxProfileCells> first;
  for (int b = 1; b <= cells; ++b) least[1][b] = deviation(1, b), first[1][b] = 1;
  for (int n = 2; n <= layers; ++n)
    for (int b = n; b <= cells; ++b) {
      least[n][b] = Infinity;
      for (int a = n; a <= b; ++a) {
        const double value = least[n - 1][a - 1] + deviation(a, b);
        if (value < least[n][b]) least[n][b] = value, first[n][b] = a;
      }
    }

  TLayerModel model;
  model.LayerCount = layers;
  for (int n = layers, b = cells; n >= 1; b = first[n][b] - 1, --n) {
    const int a = first[n][b];
    model.LayerRho[n] = std::exp((sum[b] - sum[a - 1]) / (b - a + 1));
    model.LayerDepth[n] = profile.LayerDepth[b];
  }
  model.LayerDepth[layers] = HalfSpaceDepth;
  return model;
}

double TAutomaticModelSearch::FitLayers(const TSounding& sounding, const TCurveSettings& curve, int layers,
                                        double sigma) {
  const TLayerModel split = SplitProfile(Smooth(), layers);
  int keptRank = 3;
  for (const auto& restart : Restarts) {
    const TLayerModel start = Perturbed(split, restart.Contrast, restart.Depth);
    const TFitResult& fit = Fitter.Run(sounding, start, AllUnknowns(layers), curve);
    ++Outcome.FitCount;
    const int rank = Rank(fit);
    if (rank < keptRank || (rank == keptRank && fit.Rmse < Kept.Rmse)) {
      keptRank = rank;
      Kept = fit;
    }
  }
  if (keptRank == 2) return Infinity;
  const int m = sounding.MeasurementCount;
  const double misfit = Kept.Rmse * Ln10 / sigma;
  return misfit * misfit * m + (2 * layers - 1) * std::log(double(m));
}

const TAutomaticModel& TAutomaticModelSearch::Run(const TSounding& sounding, const TCurveSettings& curve, int layers,
                                                  double errorPercent) {
  Outcome = {};
  Outcome.Criterion.Fill(NAN);
  Inversion.Run(sounding, curve, errorPercent);
  const double sigma = std::log(1 + errorPercent / 100);
  Outcome.CountChosen = layers == 0;
  if (!Outcome.CountChosen) {
    FitLayers(sounding, curve, layers, sigma);
    Outcome.LayerCount = layers;
    Outcome.Fit = Kept;
  } else {
    double least = Infinity;
    for (int n = MinAutomaticLayers; n <= MostAutomaticLayers(sounding.MeasurementCount); ++n) {
      const double criterion = Outcome.Criterion[n] = FitLayers(sounding, curve, n, sigma);
      if (n == MinAutomaticLayers || criterion < least) {
        least = criterion;
        Outcome.LayerCount = n;
        Outcome.Fit = Kept;
      }
    }
  }
  Outcome.Start = SplitProfile(Smooth(), Outcome.LayerCount);
  return Outcome;
}
