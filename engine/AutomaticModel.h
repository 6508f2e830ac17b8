// The automatic layered model: a model of 2 to 4 layers found from the
// measurements alone, with no starting model typed by hand.
//
// From the smooth model (engine/SmoothInversion.h), the cells down to its
// depth of investigation are split into N layers where their log-resistivity
// profile splits best: the split with the least sum of squared deviations of
// ln ρ from each layer's mean, found exactly by dynamic programming over the
// cell boundaries (Fisher 1958, On grouping for maximum homogeneity, JASA
// 53, 789–798); each layer takes the geometric mean of its cells'
// resistivities, and the interfaces the depths of those boundaries. The
// program's own fit (TFit, every unknown) then starts from that model and
// from AutomaticRestartCount − 1 perturbed copies of it (contrasts doubled,
// interfaces moved up or down), and the fit with the lowest RMSE is kept,
// one that converged to a model in order before any other.
//
// Without a given N, each count from 2 up to MostAutomaticLayers is fitted
// so and the count with the least Bayesian information criterion is chosen
// (Schwarz 1978, Annals of Statistics 6, 461–464), with the misfit in units
// of the measurements' error level σ = ln(1 + error/100):
//   BIC(N) = Σ_j ((ln ρa_model,j − ln ρa_measured,j) / σ)² + (2N − 1)·ln M,
// so that every layer more must lower the misfit by 2·ln M error units (5.4
// for 15 measurements); on a tie the fewer layers win.
//
// TAutomaticModelSearch owns the smooth inversion and the fit with their
// work arrays; nothing is allocated while it runs.
#pragma once

#include "engine/LayerModel.h"
#include "engine/Optimisation.h"
#include "engine/SmoothInversion.h"
#include "engine/Sounding.h"

constexpr int MinAutomaticLayers = 2;
// The fits of each layer count: the split model and its perturbed copies.
constexpr int AutomaticRestartCount = 6;

// The most layers a chosen count may have for a sounding of this many
// measurements: as many unknowns (2N − 1) as leave a degree of freedom, at
// most MaxLayers, at least MinAutomaticLayers.
int MostAutomaticLayers(int measurementCount);

struct TAutomaticModel {
  int LayerCount = 0;
  bool CountChosen = false;  // by the criterion, rather than given
  // BIC of each count fitted (NaN where none was), for a chosen count.
  TFixedArray<double, MinAutomaticLayers, MaxLayers> Criterion;
  TLayerModel Start;  // split from the smooth model, for LayerCount layers
  TFitResult Fit;     // the fit kept; its Model is the automatic model
  int FitCount = 0;   // fits run
};

class TAutomaticModelSearch {
public:
  // The automatic model of layers layers (2..MaxLayers), or with 0 of the
  // count chosen. The caller has made sure that every spacing and apparent
  // resistivity is positive and that a fit of every value of that many
  // layers (at least MinAutomaticLayers) may run (FitRefusal).
  const TAutomaticModel& Run(const TSounding& sounding, const TCurveSettings& curve, int layers,
                             double errorPercent = DefaultErrorPercent);
  const TAutomaticModel& Result() const { return Outcome; }
  // The smooth model the search started from.
  const TSmoothModel& Smooth() const { return Inversion.Result(); }

private:
  // The best fit of layers layers into Kept, and its BIC (+∞ when no fit
  // ended with a model in order).
  double FitLayers(const TSounding& sounding, const TCurveSettings& curve, int layers, double sigma);

  TSmoothInversion Inversion;
  TFit Fitter;
  TFitResult Kept;
  TAutomaticModel Outcome;
};

// The model of layers layers that splits the smooth model's cells down to its
// depth of investigation best (see above).
TLayerModel SplitProfile(const TSmoothModel& smooth, int layers);
